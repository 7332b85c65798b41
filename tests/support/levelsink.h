// An audio sink that keeps real time like a sound card and measures what it
// is given, so tests hear what the player really plays: each channel's
// level, and when sound first arrived.
#pragma once

#include <QByteArray>

#include <cmath>
#include <limits>
#include <memory>

typedef struct _GstElement GstElement;
struct LevelMeter;

class LevelSink
{
public:
    LevelSink();
    ~LevelSink();
    LevelSink(const LevelSink &) = delete;
    LevelSink &operator=(const LevelSink &) = delete;

    // The sink to hand to MediaPlayer(GstElement *); this object keeps a
    // reference of its own, so either may go first.
    GstElement *element() const;

    // RMS level in dBFS of a channel (0 left, 1 right) over the last whole
    // ~100 ms played since the last reset; minus infinity while nothing (or
    // only silence) played.
    double db(int channel) const;

    // How much sound was played since the last reset.
    double playedSeconds() const;

    void reset();

private:
    std::shared_ptr<LevelMeter> m_meter;
    GstElement *m_bin = nullptr;
};

// audiotestsrc's sine at its default amplitude of 0.8, as RMS.
inline const double FullLevel = 20 * std::log10(0.8 / std::sqrt(2.0));
inline const double Silence = -std::numeric_limits<double>::infinity();

// Within a decibel of the expected level on both sides; an expected
// Silence takes anything below -90 dBFS.
bool levelsNear(const LevelSink &sink, double left, double right);
QByteArray levels(const LevelSink &sink);

// Posts what a sound card's sink posts when the card is unplugged.
void unplug(GstElement *device);

#define QTRY_LEVELS(sink, left, right) \
    QTRY_VERIFY2_WITH_TIMEOUT(levelsNear(sink, left, right), levels(sink), 5000)
