// How much memory the whole program takes on to list and show a folder of
// 100k tracks (or the size given: 1k, 100k, 1M), against the plain C++ of
// holding the same names, a std::vector<std::string> of them read and
// sorted, each measured in a fresh process: resident memory after listing
// and its peak while listing, each at most 1.5x the floor's; and with 100k
// tracks the whole program resident in under 150 MB.
#include "app/mainwindow.h"
#include "emptyfiles.h"
#include "figures.h"
#include "platform/filelistbox.h"
#include "processfloors.h"
#include "support/world.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <string>
#include <vector>

namespace {

// A field of /proc/self/status in kB: VmRSS now, VmHWM its peak.
long statusKb(const char *field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field) + 1).trimmed().split(' ').first().toLong();
    return -1;
}

// From here on, the peak counts from what is resident now.
long startPeak()
{
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    return statusKb("VmRSS:");
}

// Prints "grown peak whole" in kB, the first two since `before`, for the
// parent to read.
void reportSince(long before)
{
    const long now = statusKb("VmRSS:");
    std::printf("%ld %ld %ld\n", now - before, statusKb("VmHWM:") - before, now);
}

int floorCase(const QString &folder)
{
    const long before = startPeak();
    const std::vector<std::string> names = sortedNames(folder);
    reportSince(before);
    return names.empty() ? 1 : 0;
}

int programCase(int argc, char **argv, const QString &folder)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestWorld world;
    world.writePreferences(world.musicDir(), "bench");
    MainWindow &form = world.start();
    QTest::qWait(100);
    const long before = startPeak();
    control<FileListBox>(form, "trackList")->setPath(folder);
    control<FileListBox>(form, "trackList")->setListIndex(control<FileListBox>(form, "trackList")->listCount() / 2);
    QTest::qWait(100); // shown, scrolled to the middle
    reportSince(before);
    return control<FileListBox>(form, "trackList")->listCount() > 0 ? 0 : 1;
}

struct Memory {
    double grown = 0;
    double peak = 0;
    double whole = 0;
};

// Runs this program again on one case; its figures in MB.
Memory measure(const char *program, const char *which, const QString &folder)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, {which, folder});
    if (!child.waitForFinished(-1) || child.exitCode() != 0) {
        std::fprintf(stderr, "bench_tracklistmemory: the %s case failed\n", which);
        std::exit(1);
    }
    const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
    return {figures.value(0).toLong() / 1024.0, figures.value(1).toLong() / 1024.0, figures.value(2).toLong() / 1024.0};
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "floor") == 0)
        return floorCase(argv[2]);
    if (argc == 3 && qstrcmp(argv[1], "program") == 0)
        return programCase(argc, argv, argv[2]);

    QCoreApplication app(argc, argv);
    const int count = benchSize(argc, argv);
    QTemporaryDir dir;
    makeEmptyFiles(dir.path(), count,
                   [](int i) { return QString("Some Artist - A Song Title Of Usual Length %1.mp3").arg(i); });
    const Memory floor = measure(argv[0], "floor", dir.path());
    const Memory program = measure(argv[0], "program", dir.path());
    std::printf("memory the program takes on for %d tracks, each case in a fresh process:\n", count);
    printAgainstFloor("resident after listing", program.grown, floor.grown, "vector<string>, sorted", 1.5, "MB");
    printAgainstFloor("peak while listing", program.peak, floor.peak, "vector<string>, sorted", 1.5, "MB");
    if (count == 100000)
        printUnder("the whole program, tracks listed", program.whole, 150, "MB");
    return benchDone();
}
