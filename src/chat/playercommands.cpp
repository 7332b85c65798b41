#include "chat/playercommands.h"

#include "app/mainwindow.h"
#include "player/trackstart.h"
#include "platform/filelistbox.h"
#include "player/mediaplayer.h"
#include "player/playback.h"
#include "player/randomnumber.h"
#include "player/soundcontrols.h"
#include "player/waitseconds.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
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

// Halves go to the even neighbour, as the volume steps require.
long roundHalfEven(double value)
{
    return long(std::nearbyint(value));
}

Handling setBalance(Form1 &form, int value, const char *label, const char *reply)
{
    form.HScroll3->setValue(value);
    form.Label9->setText(label);
    form.announcer.announce(reply);
    return Handling::GoesOn;
}

} // namespace

Handling randomModeOn(Form1 &form, const QString &)
{
    // The other mode is asked first: a command never turns both on.
    if (form.Check2->isChecked()) {
        form.announcer.announce("<b>cont</b>inous mode is on");
        return Handling::Ends;
    }
    if (form.Check1->isChecked()) {
        form.announcer.announce("<b>a</b>uto <b>rand</b>om is already on");
    } else {
        form.announcer.announce("<b>a</b>uto <b>rand</b>om on");
        form.Check1->setChecked(true);
    }
    return Handling::GoesOn;
}

Handling randomModeOff(Form1 &form, const QString &)
{
    if (!form.Check1->isChecked()) {
        form.announcer.announce("<b>a</b>uto <b>rand</b>om mode is already off");
    } else {
        form.Check1->setChecked(false);
        form.announcer.announce("<b>a</b>uto <b>rand</b>om mode turned off");
    }
    return Handling::GoesOn;
}

Handling continuousModeOn(Form1 &form, const QString &)
{
    if (form.Check1->isChecked()) {
        form.announcer.announce("<b>a</b>uto <b>rand</b>om mode is on");
        return Handling::Ends;
    }
    if (form.Check2->isChecked()) {
        form.announcer.announce("<b>cont</b>inous mode is already on");
    } else {
        form.announcer.announce("<b>cont</b>inous mode turned on");
        form.Check2->setChecked(true);
    }
    return Handling::GoesOn;
}

Handling continuousModeOff(Form1 &form, const QString &)
{
    if (!form.Check2->isChecked()) {
        form.announcer.announce("<b>cont</b>inous mode is already off");
    } else {
        form.Check2->setChecked(false);
        form.announcer.announce("<b>cont</b>inous mode turned off");
    }
    return Handling::GoesOn;
}

Handling refreshTrackList(Form1 &form, const QString &)
{
    form.playback->refreshList();
    return Handling::GoesOn;
}

Handling pausePlaying(Form1 &form, const QString &)
{
    form.playback->pauseTrack();
    return Handling::GoesOn;
}

Handling stopPlaying(Form1 &form, const QString &)
{
    form.playback->stopTrack();
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
    form.HScroll1->setValue(int(roundHalfEven(*number)));
    // The bar's whole step is replaced by the exact value of the number.
    form.MediaPlayer1.setVolume(roundHalfEven(*number * 25 - 2500));
    form.volume1->setText(argument + "%");
    form.announcer.announce("<b>volume</b> set" + argument + "%");
    return Handling::GoesOn;
}

Handling countTracks(Form1 &form, const QString &)
{
    form.announcer.announce("<b>mp3 count </b>" + QString::number(form.File1->listCount()));
    return Handling::GoesOn;
}

Handling muteOrUnmute(Form1 &form, const QString &)
{
    toggleMute(SoundControls{form.HScroll1, form.volume1, form.HScroll3, form.Label9, form.mute}, form.MediaPlayer1,
               form.announcer);
    return Handling::GoesOn;
}

Handling playRandomTrack(Form1 &form, const QString &)
{
    form.List1.clear();
    form.clearPickerList();
    WaitSeconds(0.1);
    // Counted after the wait: the list may have been read anew during it.
    FileListBox &tracks = *form.File1;
    if (tracks.listCount() == 0)
        return Handling::GoesOn;
    const int index = int(RandomNumber(tracks.listCount() - 1, true));
    // Drawing the entry already selected changes no selection, so nothing
    // would refill the now-playing list that was just emptied.
    if (index == tracks.listIndex())
        form.playback->selectionChanged();
    else
        tracks.setListIndex(index);
    const bool started = form.MediaPlayer1.Open(tracks.filePath(tracks.fileName()));
    announceStart(form.announcer, form.List1.text(), started);
    return Handling::GoesOn;
}

Handling playNextTrack(Form1 &form, const QString &)
{
    form.playback->nextTrack();
    return Handling::GoesOn;
}

Handling playPreviousTrack(Form1 &form, const QString &)
{
    return form.playback->previousTrack() ? Handling::GoesOn : Handling::Ends;
}

Handling balanceRight(Form1 &form, const QString &)
{
    return setBalance(form, 5000, "Right", "<b>balance</b>: right");
}

Handling balanceLeft(Form1 &form, const QString &)
{
    return setBalance(form, -5000, "Left", "<b>balance</b>: left");
}

Handling balanceCenter(Form1 &form, const QString &)
{
    return setBalance(form, 0, "Center", "<b>balance</b>: center");
}
