// Milliseconds on one monotonic clock for every limit the session keeps, so
// that a test can hand a limit a clock of its own.
#pragma once

#include <QElapsedTimer>
#include <functional>

using IrcClock = std::function<qint64()>;

inline qint64 MonotonicMs()
{
    static const QElapsedTimer started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return started.elapsed();
}
