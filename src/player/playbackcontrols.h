#pragma once

class Form1;

// Wires the main window's track list, playback buttons and play modes.
void connectPlaybackControls(Form1 &form);
