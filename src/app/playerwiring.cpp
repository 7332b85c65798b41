#include "app/playerwiring.h"

#include "app/mainwindow.h"
#include "platform/clicklabel.h"
#include "platform/filelistbox.h"
#include "player/mediaplayer.h"
#include "player/playeractions.h"

#include <QScrollBar>

void connectPlayerControls(Form1 &form)
{
    PlayerActions *actions = form.playerActions;
    QObject::connect(form.File1, &FileListBox::listClicked, actions, &PlayerActions::selectionChanged);
    QObject::connect(form.File1, &FileListBox::listDoubleClicked, actions, &PlayerActions::playSelected);
    QObject::connect(form.play, &ClickLabel::clicked, actions, &PlayerActions::playSelected);
    QObject::connect(form.pause, &ClickLabel::clicked, actions, &PlayerActions::pause);
    QObject::connect(form.stop, &ClickLabel::clicked, actions, &PlayerActions::stop);
    QObject::connect(form.next, &ClickLabel::clicked, actions, &PlayerActions::next);
    QObject::connect(form.last, &ClickLabel::clicked, actions, [actions] { actions->previous(); });
    QObject::connect(form.refresh, &ClickLabel::clicked, actions, &PlayerActions::refresh);
    QObject::connect(form.mute, &ClickLabel::clicked, actions, &PlayerActions::toggleMute);
    QObject::connect(&form.MediaPlayer1, &MediaPlayer::EndOfStream, actions, &PlayerActions::endOfTrack);
    QObject::connect(&form.MediaPlayer1, &MediaPlayer::playbackFailed, actions, &PlayerActions::playbackFailed);
    // A change of value and every movement of a dragged thumb do the same.
    for (auto moved : {&QScrollBar::valueChanged, &QScrollBar::sliderMoved}) {
        QObject::connect(form.HScroll1, moved, actions, &PlayerActions::volumeBarMoved);
        QObject::connect(form.HScroll3, moved, actions, &PlayerActions::balanceBarMoved);
    }
}
