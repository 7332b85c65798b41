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

void connectPlayerControls(MainWindow &form)
{
    PlayerActions *actions = form.program().playerActions;
    const PlayerState &state = form.playerState();
    // The track list is a view of the state's own tracks and selection.
    QObject::connect(form.trackList, &FileListBox::listDoubleClicked, actions, &PlayerActions::playSelected);
    QObject::connect(form.playLabel, &ClickLabel::clicked, actions, &PlayerActions::playSelected);
    QObject::connect(form.pauseLabel, &ClickLabel::clicked, actions, &PlayerActions::pause);
    QObject::connect(form.stopLabel, &ClickLabel::clicked, actions, &PlayerActions::stop);
    QObject::connect(form.nextLabel, &ClickLabel::clicked, actions, &PlayerActions::next);
    QObject::connect(form.previousLabel, &ClickLabel::clicked, actions, [actions] { actions->previous(); });
    QObject::connect(form.refreshLabel, &ClickLabel::clicked, actions, &PlayerActions::refresh);
    QObject::connect(form.muteLabel, &ClickLabel::clicked, actions, &PlayerActions::toggleMute);
    QObject::connect(form.randomBox, &QCheckBox::toggled, actions, &PlayerActions::setRandomMode);
    QObject::connect(form.continuousBox, &QCheckBox::toggled, actions, &PlayerActions::setContinuousMode);
    // A change of value and every movement of a dragged thumb do the same.
    for (auto moved : {&QScrollBar::valueChanged, &QScrollBar::sliderMoved}) {
        QObject::connect(form.volumeBar, moved, actions, &PlayerActions::volumeBarMoved);
        QObject::connect(form.balanceBar, moved, actions, &PlayerActions::balanceBarMoved);
    }

    MainWindow *f = &form;
    const PlayerState *s = &state;
    const auto showRandom = [f, s] { follow(f->randomBox, [&] { f->randomBox->setChecked(s->random()); }); };
    const auto showContinuous = [f, s] { follow(f->continuousBox, [&] { f->continuousBox->setChecked(s->continuous()); }); };
    const auto showVolume = [f, s] {
        follow(f->volumeBar, [&] { f->volumeBar->setValue(s->volume()); });
        f->volumeLabel->setText(s->volumeShown());
    };
    const auto showBalance = [f, s] {
        follow(f->balanceBar, [&] { f->balanceBar->setValue(s->balance()); });
        f->balanceLabel->setText(s->balanceName());
    };
    const auto showMute = [f, s] { f->muteLabel->setText(s->muted() ? "UnMute" : "Mute"); };
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
