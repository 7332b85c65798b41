// How much memory the whole program holds with 100,000 tracks listed and
// shown. Target: resident memory under 150 MB.
#include "app/mainwindow.h"
#include "platform/filelistbox.h"
#include "support/world.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <cstdio>

namespace {

constexpr int trackCount = 100000;

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

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    TestWorld world;
    const QString folder = world.home() + "/many";
    QDir().mkpath(folder);
    for (int i = 0; i < trackCount; ++i) {
        QFile file(QString("%1/Some Artist - A Song Title Of Usual Length %2.mp3").arg(folder).arg(i));
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "bench_tracklistmemory: cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    world.writePreferences(world.musicDir(), "bench");
    Form1 &form = world.start();
    QTest::qWait(100);
    const long before = statusKb("VmRSS:");

    form.File1->setPath(folder);
    form.File1->setListIndex(trackCount / 2);
    QTest::qWait(100); // shown, scrolled to the middle
    const long after = statusKb("VmRSS:");

    std::printf("resident memory: %.1f MB started with an empty list, %.1f MB with %d tracks listed "
                "(+%.1f MB; peak %.1f MB; target < 150 MB)\n",
                before / 1024.0, after / 1024.0, form.File1->listCount(), (after - before) / 1024.0,
                statusKb("VmHWM:") / 1024.0);
    return form.File1->listCount() == trackCount ? 0 : 1;
}
