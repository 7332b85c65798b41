// How long from loading a track to its first sound at the sink: what a
// listener waits after asking for a song. Target: a median under 30 ms.
#include "player/mediaplayer.h"
#include "support/audiofiles.h"
#include "support/levelsink.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    // No window is ever shown; this runs where there is no display too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString track = dir.filePath("track.mp3");
    makeMp3(track, 3.0);

    LevelSink sink;
    MediaPlayer player(sink.element());
    constexpr int runs = 20;
    std::vector<double> millis;
    for (int run = 0; run < runs; ++run) {
        // From stopped, as after the end of a track: nothing of the last run
        // may still be on its way to the sink or queued as its signal.
        player.Stop();
        QCoreApplication::processEvents();
        sink.reset();

        const auto start = LevelSink::Clock::now();
        if (!player.setFileName(QFile::encodeName(track))) {
            std::fprintf(stderr, "bench_playstart: the track does not play\n");
            return 1;
        }
        QDeadlineTimer deadline(5000);
        while (!sink.bufferArrived() && !deadline.hasExpired()) {
            QEventLoop loop;
            QObject::connect(&sink, &LevelSink::firstBuffer, &loop, &QEventLoop::quit);
            QTimer::singleShot(deadline.remainingTime(), &loop, &QEventLoop::quit);
            loop.exec();
        }
        if (!sink.bufferArrived()) {
            std::fprintf(stderr, "bench_playstart: no sound within 5 s (run %d)\n", run);
            return 1;
        }
        millis.push_back(std::chrono::duration<double, std::milli>(sink.firstBufferTime() - start).count());
    }
    std::sort(millis.begin(), millis.end());
    std::printf("play start (setFileName to first buffer at the sink), %d runs: "
                "median %.1f ms, min %.1f ms, max %.1f ms (target < 30 ms)\n",
                runs, (millis[runs / 2 - 1] + millis[runs / 2]) / 2, millis.front(), millis.back());
    return 0;
}
