#include "chat/playercommands.h"

#include "app/mainwindow.h"
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

Handling randomModeOn(Form1 &form, const QString &)
{
    return form.playerActions->randomModeOn() ? Handling::GoesOn : Handling::Ends;
}

Handling randomModeOff(Form1 &form, const QString &)
{
    form.playerActions->randomModeOff();
    return Handling::GoesOn;
}

Handling continuousModeOn(Form1 &form, const QString &)
{
    return form.playerActions->continuousModeOn() ? Handling::GoesOn : Handling::Ends;
}

Handling continuousModeOff(Form1 &form, const QString &)
{
    form.playerActions->continuousModeOff();
    return Handling::GoesOn;
}

Handling refreshTrackList(Form1 &form, const QString &)
{
    form.playerActions->refresh();
    return Handling::GoesOn;
}

Handling pausePlaying(Form1 &form, const QString &)
{
    form.playerActions->pause();
    return Handling::GoesOn;
}

Handling stopPlaying(Form1 &form, const QString &)
{
    form.playerActions->stop();
    return Handling::GoesOn;
}

Handling setVolume(Form1 &form, const QString &text)
{
    // Everything behind "vol", its leading blank included, as typed.
    const QString argument = text.mid(4);
    const std::optional<double> number = volumeNumber(argument);
    if (!number || *number < 1 || *number > 100) {
        form.announcer.announce("<b>volume</b> can be set 1 - 100");
        return Handling::Ends;
    }
    form.playerActions->setVolume(*number, argument);
    return Handling::GoesOn;
}

Handling countTracks(Form1 &form, const QString &)
{
    form.announcer.announce("<b>mp3 count </b>" + QString::number(form.playerActions->trackCount()));
    return Handling::GoesOn;
}

Handling muteOrUnmute(Form1 &form, const QString &)
{
    form.playerActions->toggleMute();
    return Handling::GoesOn;
}

Handling playRandomTrack(Form1 &form, const QString &)
{
    form.playerActions->playRandomTrack(0.1, 0);
    return Handling::GoesOn;
}

Handling playNextTrack(Form1 &form, const QString &)
{
    form.playerActions->next();
    return Handling::GoesOn;
}

Handling playPreviousTrack(Form1 &form, const QString &)
{
    return form.playerActions->previous() ? Handling::GoesOn : Handling::Ends;
}

Handling balanceRight(Form1 &form, const QString &)
{
    form.playerActions->setBalance(5000);
    return Handling::GoesOn;
}

Handling balanceLeft(Form1 &form, const QString &)
{
    form.playerActions->setBalance(-5000);
    return Handling::GoesOn;
}

Handling balanceCenter(Form1 &form, const QString &)
{
    form.playerActions->setBalance(0);
    return Handling::GoesOn;
}
