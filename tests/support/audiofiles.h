// Real MP3 files made at test time, so tests play what users play.
#pragma once

#include <QString>

// A stereo sine wave of the given length (to 10 ms), encoded as MP3 at
// `path`; ends the test run if GStreamer cannot make it.
void makeMp3(const QString &path, double seconds, double frequencyHz = 440);
