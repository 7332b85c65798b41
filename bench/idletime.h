// The time a piece of the program takes by itself: the wall time of a call
// less the time the event loop slept inside it, which is what its fixed
// waits (WaitSeconds) cost.
#pragma once

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <functional>

inline double ownMilliseconds(const std::function<void()> &call, double *wallMs = nullptr)
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    QElapsedTimer wall, sleep;
    qint64 sleptNs = 0;
    bool asleep = false;
    auto toSleep = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [&] {
        asleep = true;
        sleep.start();
    });
    auto awake = QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [&] {
        if (asleep)
            sleptNs += sleep.nsecsElapsed();
        asleep = false;
    });
    wall.start();
    call();
    const qint64 wallNs = wall.nsecsElapsed();
    QObject::disconnect(toSleep);
    QObject::disconnect(awake);
    if (wallMs)
        *wallMs = wallNs / 1e6;
    return (wallNs - sleptNs) / 1e6;
}
