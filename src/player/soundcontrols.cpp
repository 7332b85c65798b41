#include "player/soundcontrols.h"

#include "chat/announcement.h"
#include "platform/clicklabel.h"
#include "player/mediaplayer.h"

#include <QLabel>
#include <QScrollBar>

namespace {

void applyVolume(const SoundControls &controls, MediaPlayer &player, int value)
{
    player.setVolume(25L * value - 2500);
    controls.volume1->setText(QString::number(value) + "%");
}

void applyBalance(const SoundControls &controls, MediaPlayer &player, int value)
{
    // At exactly -500 and 500 none of the tests holds: the label keeps its text.
    if (value > -500 && value < 500)
        controls.Label9->setText("Center");
    if (value < -500)
        controls.Label9->setText("Left");
    if (value > 500)
        controls.Label9->setText("Right");
    player.setBalance(value);
}

} // namespace

void connectSoundControls(const SoundControls &controls, MediaPlayer &player, const Announcer &announcer)
{
    // A change of value and every movement of a dragged thumb do the same.
    QObject::connect(controls.HScroll1, &QScrollBar::valueChanged, controls.HScroll1,
                     [controls, &player](int value) { applyVolume(controls, player, value); });
    QObject::connect(controls.HScroll1, &QScrollBar::sliderMoved, controls.HScroll1,
                     [controls, &player](int value) { applyVolume(controls, player, value); });
    QObject::connect(controls.HScroll3, &QScrollBar::valueChanged, controls.HScroll3,
                     [controls, &player](int value) { applyBalance(controls, player, value); });
    QObject::connect(controls.HScroll3, &QScrollBar::sliderMoved, controls.HScroll3,
                     [controls, &player](int value) { applyBalance(controls, player, value); });
    QObject::connect(controls.mute, &ClickLabel::clicked, controls.mute,
                     [controls, &player, &announcer] { toggleMute(controls, player, announcer); });
}

void toggleMute(const SoundControls &controls, MediaPlayer &player, const Announcer &announcer)
{
    if (player.Mute()) {
        player.setMute(false);
        controls.mute->setText("Mute");
        announcer.announce("<b>mp3</b> player unmute");
    } else {
        player.setMute(true);
        controls.mute->setText("UnMute");
        announcer.announce("<b>mp3</b> player mute");
    }
}
