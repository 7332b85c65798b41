#include "chat/playercommands.h"

#include "chat/announcement.h"
#include "chat/commandcontext.h"
#include "player/playeractions.h"

#include <cmath>
#include <optional>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

qsizetype skipDigits(QStringView text, qsizetype i)
{
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    return i;
}

// Blanks around it, a sign, digits with a decimal fraction, an exponent:
// what a person writes for a number. Anything else ("abc", "50abc", "nan",
// "inf", a lone blank) and a number too big to hold is no number.
std::optional<double> volumeNumber(QStringView argument)
{
    QStringView number = argument;
    while (!number.isEmpty() && isBlank(number.front()))
        number = number.mid(1);
    while (!number.isEmpty() && isBlank(number.back()))
        number.chop(1);
    qsizetype i = 0;
    if (i < number.size() && (number[i] == u'+' || number[i] == u'-'))
        ++i;
    const qsizetype wholeEnd = skipDigits(number, i);
    qsizetype end = wholeEnd;
    bool hasDigits = wholeEnd > i;
    if (end < number.size() && number[end] == u'.') {
        const qsizetype fractionEnd = skipDigits(number, end + 1);
        hasDigits = hasDigits || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!hasDigits)
        return std::nullopt;
    if (end < number.size() && (number[end] == u'e' || number[end] == u'E')) {
        qsizetype exponent = end + 1;
        if (exponent < number.size() && (number[exponent] == u'+' || number[exponent] == u'-'))
            ++exponent;
        end = skipDigits(number, exponent);
        if (end == exponent)
            return std::nullopt;
    }
    if (end != number.size())
        return std::nullopt;
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

Handling randomModeOn(const CommandContext &context, const QString &)
{
    return context.player.randomModeOn() ? Handling::GoesOn : Handling::Ends;
}

Handling randomModeOff(const CommandContext &context, const QString &)
{
    context.player.randomModeOff();
    return Handling::GoesOn;
}

Handling continuousModeOn(const CommandContext &context, const QString &)
{
    return context.player.continuousModeOn() ? Handling::GoesOn : Handling::Ends;
}

Handling continuousModeOff(const CommandContext &context, const QString &)
{
    context.player.continuousModeOff();
    return Handling::GoesOn;
}

Handling refreshTrackList(const CommandContext &context, const QString &)
{
    context.player.refresh();
    return Handling::GoesOn;
}

Handling pausePlaying(const CommandContext &context, const QString &)
{
    context.player.pause();
    return Handling::GoesOn;
}

Handling stopPlaying(const CommandContext &context, const QString &)
{
    context.player.stop();
    return Handling::GoesOn;
}

// The argument keeps its leading blank: the label and the reply show it.
Handling setVolume(const CommandContext &context, const QString &argument)
{
    const std::optional<double> number = volumeNumber(argument);
    if (!number || *number < 1 || *number > 100) {
        context.announcer.announce("<b>volume</b> can be set 1 - 100");
        return Handling::Ends;
    }
    context.player.setVolume(*number, argument);
    return Handling::GoesOn;
}

Handling countTracks(const CommandContext &context, const QString &)
{
    context.announcer.announce("<b>mp3 count </b>" + QString::number(context.player.trackCount()));
    return Handling::GoesOn;
}

Handling muteOrUnmute(const CommandContext &context, const QString &)
{
    context.player.toggleMute();
    return Handling::GoesOn;
}

Handling playRandomTrack(const CommandContext &context, const QString &)
{
    context.player.playRandomTrack(0.1, 0);
    return Handling::GoesOn;
}

Handling playNextTrack(const CommandContext &context, const QString &)
{
    context.player.next();
    return Handling::GoesOn;
}

Handling playPreviousTrack(const CommandContext &context, const QString &)
{
    return context.player.previous() ? Handling::GoesOn : Handling::Ends;
}

Handling balanceRight(const CommandContext &context, const QString &)
{
    context.player.setBalance(5000);
    return Handling::GoesOn;
}

Handling balanceLeft(const CommandContext &context, const QString &)
{
    context.player.setBalance(-5000);
    return Handling::GoesOn;
}

Handling balanceCenter(const CommandContext &context, const QString &)
{
    context.player.setBalance(0);
    return Handling::GoesOn;
}
