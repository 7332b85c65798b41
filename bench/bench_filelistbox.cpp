// How long the track list takes to list and sort a folder of mp3 names
// (100k unless a size is given: 1k, 100k, 1M), from the call to the new
// list in place, against the floor of the same folder read and sorted
// without regard to case in plain C++ (readdir and strcasecmp). Target: at
// most 1.2x the floor. The folder is read off the window thread; the
// longest the window thread is busy at a time meanwhile (between two ticks
// of a 1 ms timer, from the call to the first and from the last to the
// return) is held to at most 50 ms, for a folder newly set, a refresh, and
// the whole program's start with the folder as its MP3 path; each until
// the window thread has done what they left it (the list laid out anew).
#include "emptyfiles.h"
#include "figures.h"
#include "app/mainwindow.h"
#include "platform/filelistbox.h"
#include "processfloors.h"
#include "support/world.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>

#include <dirent.h>

namespace {

// Names of mixed case and length, so sorting has real work to do.
QString trackName(int i, int count)
{
    static const char *const words[] = {"Love", "night", "DREAM", "Blue", "fire", "Road", "heart", "Rain", "gold", "Summer"};
    return QString("%1 %2 - %3 %4.%5")
        .arg(words[(i * 7) % 10], words[(i / 10) % 10], words[(i * 3 + 1) % 10])
        .arg((qint64(i) * 7919) % count)
        .arg(i % 5 == 0 ? "MP3" : "mp3");
}

// The longest the window thread went without serving a 1 ms timer during
// the call, in ms.
double longestBusyStretch(const std::function<void()> &call)
{
    QElapsedTimer clock;
    clock.start();
    double last = 0, longest = 0;
    const auto tick = [&] {
        const double now = clock.nsecsElapsed() / 1e6;
        longest = std::max(longest, now - last);
        last = now;
    };
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    ticks.setInterval(1);
    QObject::connect(&ticks, &QTimer::timeout, tick);
    ticks.start();
    tick();
    call();
    // And what the call left for the window thread: the list laid out anew.
    QTest::qWait(300);
    tick();
    return longest;
}

double wallMilliseconds(const std::function<void()> &call)
{
    QElapsedTimer clock;
    clock.start();
    call();
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = benchSize(argc, argv);
    QTemporaryDir dir;
    makeEmptyFiles(dir.path(), count, [count](int i) { return trackName(i, count); });

    FileListBox list;
    list.setPattern("*.mp3");
    list.resize(280, 120);
    list.show();
    const double newlySet = longestBusyStretch([&] { list.setPath(dir.path()); });

    // Taken in turns, the folder cached alike for both.
    std::vector<double> floors, refreshes, busy;
    qsizetype names = 0;
    for (int run = 0; run < 5; ++run) {
        // The last list let go, on a worker, is gone before the floor runs.
        QThreadPool::globalInstance()->waitForDone();
        floors.push_back(wallMilliseconds([&] { names = qsizetype(sortedNames(dir.path()).size()); }));
        refreshes.push_back(wallMilliseconds([&] {
            list.refresh();
            QCoreApplication::processEvents(); // the list shown anew
        }));
    }
    // Apart from the floor, whose million strings freed leave the heap a
    // million chunks to merge on the thread's next allocation.
    for (int run = 0; run < 3; ++run) {
        QThreadPool::globalInstance()->waitForDone();
        busy.push_back(longestBusyStretch([&] { list.refresh(); }));
    }
    std::printf("listing %d tracks, median of 5 runs, wall time:\n", list.listCount());
    printAgainstFloor("refresh (list, sort and show)", median(refreshes), median(floors), "readdir + caseless sort",
                      1.2);

    TestWorld world;
    world.writePreferences(dir.path(), "bench");
    bool started = false;
    const double startUp = longestBusyStretch([&] { started = world.start().isVisible(); });
    std::printf("the window thread's longest busy stretch, in ms:\n");
    printUnder("folder newly set", newlySet, 50, "ms");
    printUnder("refresh, the longest of 3", *std::max_element(busy.begin(), busy.end()), 50, "ms");
    printUnder("the program's start", startUp, 50, "ms");
    return benchDone(list.listCount() == count && names == count && started);
}
