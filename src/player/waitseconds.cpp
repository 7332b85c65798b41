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
    // A timer may fire a little early; the wait goes on until the clock says so.
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        if (const qint64 left = total - clock.elapsed(); left > 0) {
            deadline.start(int(left));
            return;
        }
        nested.ending();
        loop.quit();
    });
    deadline.start(int(total));
    loop.exec();
}
