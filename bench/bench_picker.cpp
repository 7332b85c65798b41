// What filling the song picker costs: ".p " in a track list where every
// name matches, so the picker gets them all, against a search that matches
// none, which reads every name just the same (the floor). Both through the
// command handler, their own time on the thread's clock, the waits of the
// search left out. Target: within 3 times the floor.
// Usage: bench_picker [1k|100k|1M]
#include "app/mainwindow.h"
#include "chat/dispatcher.h"
#include "figures.h"
#include "support/world.h"

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = benchSize(argc, argv);

    TestWorld world("tester");
    // Empty files: the track list reads names only.
    const QByteArray folder = QFile::encodeName(world.musicDir());
    for (int i = 0; i < count; ++i) {
        const QByteArray name = folder + "/Track " + QByteArray::number(i) + " of the bench.mp3";
        const int fd = creat(name.constData(), 0644);
        if (fd < 0) {
            std::fprintf(stderr, "bench_picker: cannot write in %s\n", folder.constData());
            return 1;
        }
        close(fd);
    }
    world.writePreferences(world.musicDir(), "Ann");
    Form1 &form = world.start();
    world.settle();

    const auto search = [&](const QString &line) {
        return medianOwnMilliseconds([&] {
            world.clearLines();
            handleCommandLine(form.commandContext(), "tester", line);
        }, 3);
    };
    const double none = search(".p no such song");
    const double every = search(".p ");
    const QString found = "[<b>" + QString::number(count) + "</b>] strings found";
    if (world.userLines().isEmpty() || !world.userLines().first().contains(found)) {
        std::fprintf(stderr, "bench_picker: the search did not find every name: %s\n", qPrintable(world.userLines().join('\n')));
        return 1;
    }
    std::printf("bench_picker: %d names, every one a match\n", count);
    printAgainstFloor("\".p \": the picker filled", every, none, "a search matching none", 3);
    return 0;
}
