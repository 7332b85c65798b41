#include "player/playbackcontrols.h"

#include "app/mainwindow.h"
#include "platform/clicklabel.h"
#include "platform/filelistbox.h"
#include "player/mediaplayer.h"
#include "player/playback.h"
#include "player/trackstart.h"

#include <QCheckBox>
#include <QFileInfo>
#include <memory>

namespace {

// Checking either box, by a click or by setting its value, unchecks the
// other; that unchecking is not the other box's own click, so its rule
// does not run and cannot undo the box just checked.
void connectPlayModes(QCheckBox *random, QCheckBox *continuous)
{
    auto ruling = std::make_shared<bool>(false);
    const auto exclude = [ruling](QCheckBox *other) {
        if (*ruling || !other->isChecked())
            return;
        *ruling = true;
        other->setChecked(false);
        *ruling = false;
    };
    QObject::connect(random, &QCheckBox::toggled, random, [exclude, continuous] { exclude(continuous); });
    QObject::connect(continuous, &QCheckBox::toggled, continuous, [exclude, random] { exclude(random); });
}

} // namespace

void connectPlaybackControls(Form1 &form)
{
    Playback *playback = form.playback;
    QObject::connect(form.File1, &FileListBox::listClicked, playback, &Playback::selectionChanged);
    QObject::connect(form.File1, &FileListBox::listDoubleClicked, playback, &Playback::playSelected);
    QObject::connect(form.play, &ClickLabel::clicked, playback, &Playback::playSelected);
    QObject::connect(form.pause, &ClickLabel::clicked, playback, &Playback::pauseTrack);
    QObject::connect(form.stop, &ClickLabel::clicked, playback, &Playback::stopTrack);
    QObject::connect(form.next, &ClickLabel::clicked, playback, &Playback::nextTrack);
    QObject::connect(form.last, &ClickLabel::clicked, playback, [playback] { playback->previousTrack(); });
    QObject::connect(form.refresh, &ClickLabel::clicked, playback, &Playback::refreshList);
    QObject::connect(&form.MediaPlayer1, &MediaPlayer::EndOfStream, playback, &Playback::endOfTrack);
    // Whichever road started it, the player's file is the track that broke
    // off; it is told like a track that could not start.
    QObject::connect(&form.MediaPlayer1, &MediaPlayer::playbackFailed, playback, [&form] {
        announceStart(form.announcer, QFileInfo(form.MediaPlayer1.FileName()).fileName(), false);
    });
    connectPlayModes(form.Check1, form.Check2);
}
