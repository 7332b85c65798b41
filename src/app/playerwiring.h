#pragma once

class MainWindow;

// Hands the main window's track list, playback buttons, boxes, bars and
// mute button to the owner of the player's actions, and makes them follow
// the player's state.
void connectPlayerControls(MainWindow &form);
