#pragma once

class Form1;

// Hands the main window's track list, playback buttons, bars, mute button
// and the player's end of a track to the owner of the player's actions.
void connectPlayerControls(Form1 &form);
