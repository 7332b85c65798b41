// Real MP3 files made at test time, so tests play what users play.
#pragma once

#include <QByteArray>
#include <QString>

// A stereo sine wave of the given length (to 10 ms), encoded as MP3 at
// `path`; ends the test run if GStreamer cannot make it.
void makeMp3(const QString &path, double seconds, double frequencyHz = 440);
// The same with an ID3v2 tag: `tags` as GStreamer writes a tag list
// ("title=A,track-number=(uint)3"), and a front cover of the given media
// type unless it is empty.
void makeTaggedMp3(const QString &path, double seconds, const QString &tags, const QByteArray &cover = {},
                   const char *coverType = "image/png");

// One short MP3 of each length made once per test run, for tests whose
// tracks are copies of it.
QString sampleMp3(double seconds = 1.0);
