#include "app/playerwiring.h"

#include "app/mainwindow.h"
#include "platform/clicklabel.h"
#include "platform/filelistbox.h"
#include "player/playeractions.h"
#include "player/playerstate.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>

namespace {

// A control follows the state quietly: only the user's own moves are told
// back to the actions.
template <typename Control, typename Show>
void follow(Control *control, Show show)
{
    const QSignalBlocker quiet(control);
    show();
}

} // namespace

void connectPlayerControls(Form1 &form)
{
    PlayerActions *actions = form.playerActions;
    const PlayerState &state = form.playerState();
    // The track list is a view of the state's own tracks and selection.
    QObject::connect(form.File1, &FileListBox::listDoubleClicked, actions, &PlayerActions::playSelected);
    QObject::connect(form.play, &ClickLabel::clicked, actions, &PlayerActions::playSelected);
    QObject::connect(form.pause, &ClickLabel::clicked, actions, &PlayerActions::pause);
    QObject::connect(form.stop, &ClickLabel::clicked, actions, &PlayerActions::stop);
    QObject::connect(form.next, &ClickLabel::clicked, actions, &PlayerActions::next);
    QObject::connect(form.last, &ClickLabel::clicked, actions, [actions] { actions->previous(); });
    QObject::connect(form.refresh, &ClickLabel::clicked, actions, &PlayerActions::refresh);
    QObject::connect(form.mute, &ClickLabel::clicked, actions, &PlayerActions::toggleMute);
    QObject::connect(form.Check1, &QCheckBox::toggled, actions, &PlayerActions::setRandomMode);
    QObject::connect(form.Check2, &QCheckBox::toggled, actions, &PlayerActions::setContinuousMode);
    // A change of value and every movement of a dragged thumb do the same.
    for (auto moved : {&QScrollBar::valueChanged, &QScrollBar::sliderMoved}) {
        QObject::connect(form.HScroll1, moved, actions, &PlayerActions::volumeBarMoved);
        QObject::connect(form.HScroll3, moved, actions, &PlayerActions::balanceBarMoved);
    }

    Form1 *f = &form;
    const PlayerState *s = &state;
    const auto showRandom = [f, s] { follow(f->Check1, [&] { f->Check1->setChecked(s->random()); }); };
    const auto showContinuous = [f, s] { follow(f->Check2, [&] { f->Check2->setChecked(s->continuous()); }); };
    const auto showVolume = [f, s] {
        follow(f->HScroll1, [&] { f->HScroll1->setValue(s->volume()); });
        f->volume1->setText(s->volumeShown());
    };
    const auto showBalance = [f, s] {
        follow(f->HScroll3, [&] { f->HScroll3->setValue(s->balance()); });
        f->Label9->setText(s->balanceName());
    };
    const auto showMute = [f, s] { f->mute->setText(s->muted() ? "UnMute" : "Mute"); };
    QObject::connect(s, &PlayerState::randomChanged, f, showRandom);
    QObject::connect(s, &PlayerState::continuousChanged, f, showContinuous);
    QObject::connect(s, &PlayerState::volumeChanged, f, showVolume);
    QObject::connect(s, &PlayerState::balanceChanged, f, showBalance);
    QObject::connect(s, &PlayerState::muteChanged, f, showMute);
    showRandom();
    showContinuous();
    showVolume();
    showBalance();
    showMute();
}
