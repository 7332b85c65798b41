// The volume bar, the balance bar and the mute button: the bars drive the
// player silently, the mute button toggles it and says so.
#pragma once

class Announcer;
class ClickLabel;
class MediaPlayer;
class QLabel;
class QScrollBar;

struct SoundControls {
    QScrollBar *HScroll1; // volume, 1 to 100
    QLabel *volume1;      // the volume in per cent
    QScrollBar *HScroll3; // balance, -5000 (left) to 5000 (right)
    QLabel *Label9;       // "Left", "Center" or "Right"
    ClickLabel *mute;     // names what a click will do: "Mute" or "UnMute"
};

void connectSoundControls(const SoundControls &controls, MediaPlayer &player, const Announcer &announcer);
void toggleMute(const SoundControls &controls, MediaPlayer &player, const Announcer &announcer);
