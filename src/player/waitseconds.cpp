#include "player/waitseconds.h"

#include "platform/nestedloop.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

void WaitSeconds(double seconds)
{
    if (!(seconds > 0))
        return;
    // A monotonic clock: the wait is right across midnight and clock changes.
    QElapsedTimer clock;
    clock.start();
    const qint64 total = qint64(std::ceil(seconds * 1000.0));
    NestedLoop nested;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    // A timer may fire a little early; the loop goes on until the clock says so.
    for (qint64 left = total - clock.elapsed(); left > 0; left = total - clock.elapsed()) {
        deadline.start(int(left));
        loop.exec();
    }
}
