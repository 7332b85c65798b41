// TEMPORARY: wired with the track list work.
#include "player/playbackcontrols.h"

void connectPlaybackControls(Form1 &) {}
