// The chat line path for lines that are no commands, said in the room,
// scanned and handled: 1 KB lines of others (the speaker gate turns them
// away) and of the user's own that hold no command word (tested against
// every word). The floor, measured in the same run: reading and writing the
// same lines, each written into a pipe and read back, as a network's line
// comes in and a terminal's goes out, decoded from UTF-8 and encoded again.
// Target: at most 3 times the floor.
// Usage: bench_dispatch [lines: 1k|100k|1M]
#include "app/mainwindow.h"
#include "chat/chatscan.h"
#include "figures.h"
#include "support/world.h"

#include <QApplication>
#include <cstdio>
#include <unistd.h>

namespace {

// Lines of 1 KB, a few different ones in turn.
QStringList kilobyteLines(const QString &start)
{
    QStringList lines;
    for (int i = 0; i < 16; ++i)
        lines << (start + QString::number(i) + " " + QString("that was quite a song, wasn't it? ").repeated(32)).left(1024);
    return lines;
}

double readAndWrite(const QStringList &lines, int count)
{
    QList<QByteArray> encoded;
    for (const QString &line : lines)
        encoded << line.toUtf8();
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return 0;
    QByteArray buffer(4096, '\0');
    const double ms = medianOwnMilliseconds([&] {
        for (int i = 0; i < count; ++i) {
            const QByteArray &line = encoded[i % encoded.size()];
            const bool whole = write(pipeEnds[1], line.constData(), line.size()) == line.size()
                               && read(pipeEnds[0], buffer.data(), buffer.size()) == line.size()
                               && QString::fromUtf8(buffer.constData(), line.size()).toUtf8() == line;
            if (!whole) {
                std::fprintf(stderr, "bench_dispatch: a line did not come through the pipe\n");
                std::exit(1);
            }
        }
    }, 3);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = benchSize(argc, argv);

    TestWorld world("tester");
    world.writePreferences(world.musicDir(), "Ann");
    MainWindow &form = world.start();
    world.waitUntilHandled();
    int seen = 0;
    QObject::connect(form.program().commandScan, &ChatScan::ChatLine, [&seen] { ++seen; });
    const auto throughTheRoom = [&](const QString &speaker, const QStringList &lines) {
        return medianOwnMilliseconds([&] {
            seen = 0;
            for (int i = 0; i < count; ++i)
                world.sayAs(speaker, lines[i % lines.size()]);
            while (seen < count)
                QCoreApplication::processEvents();
            world.clearLines();
        }, 3);
    };

    std::printf("bench_dispatch: %d lines of 1 KB, said, scanned and handled\n", count);
    const struct {
        const char *what;
        QString speaker;
        QStringList lines;
    } cases[] = {
        {"others' lines", "bob", kilobyteLines(".stop")},
        {"the user's lines, no command", "tester", kilobyteLines("well, ")},
    };
    for (const auto &c : cases)
        printAgainstFloor(c.what, throughTheRoom(c.speaker, c.lines), readAndWrite(c.lines, count), "read and written",
                          3);
    return benchDone();
}
