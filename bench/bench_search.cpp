// A ".p " search in a track list of 100,000 names, through the command
// handler: its own time, the fixed waits of the search left out (target:
// under 20 ms). Usage: bench_search [names]
#include "app/mainwindow.h"
#include "chat/dispatcher.h"
#include "idletime.h"
#include "platform/filelistbox.h"
#include "support/audiofiles.h"
#include "support/world.h"

#include <QApplication>
#include <QFile>
#include <algorithm>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;

    TestWorld world("tester");
    // Empty files: the list box only reads names. The one match that is
    // played is a real MP3, so that case includes the player's loading.
    for (int i = 0; i < count; ++i) {
        QFile file(world.musicDir() + QString("/Track %1 of the bench.mp3").arg(i, 6, 10, QChar('0')));
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot make %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    makeMp3(world.musicDir() + "/The One Song.mp3", 1.0);
    world.writePreferences(world.musicDir(), "Ann");
    Form1 &form = world.start();
    world.settle();
    std::printf("track list: %d names\n", form.File1->listCount());

    const struct {
        const char *what;
        const char *line;
    } cases[] = {
        {"no match", ".p no such song"},
        {"one match (played)", ".p the one"},
        {"100 matches", ".p 0999"},
        {"every name matches", ".p "},
    };
    for (const auto &c : cases) {
        std::vector<double> own;
        double wall = 0;
        for (int run = 0; run < 5; ++run) {
            world.clearLines();
            own.push_back(ownMilliseconds([&] { handleCommandLine(form.commandContext(), "tester", c.line); }, &wall));
        }
        std::sort(own.begin(), own.end());
        std::printf("%-22s own %8.2f ms median, %8.2f ms best (wall %7.1f ms with the waits), %lld lines\n",
                    c.what, own[own.size() / 2], own.front(), wall, qlonglong(world.userLines().size()));
    }
    std::printf("target: under 20 ms own time\n");
    return 0;
}
