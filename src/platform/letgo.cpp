#include "platform/letgo.h"

#include <QThreadPool>

#include <utility>

void letGo(QStringList &list)
{
    // Below this, handing the list over costs about what releasing it does.
    constexpr qsizetype LongList = 10000;
    QStringList dropped = std::exchange(list, QStringList());
    if (dropped.size() < LongList || !dropped.isDetached())
        return;
    // The texts' counts are atomic: releasing them there is safe while
    // other lists on this thread still share them.
    QThreadPool::globalInstance()->start([dropped = std::move(dropped)]() mutable { dropped = QStringList(); });
}
