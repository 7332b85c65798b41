// The command scan's cost for lines that are no commands: one said by
// someone else (the speaker gate alone) and one of the user's own that
// matches no word (targets: under 20 µs each), and a burst of 10,000 lines
// of 1 KB from others through the room (target: under 0.5 s in all).
#include "app/mainwindow.h"
#include "chat/chatscan.h"
#include "chat/dispatcher.h"
#include "support/world.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>

namespace {

double microsecondsPerLine(Form1 &form, const QString &speaker, const QString &text)
{
    constexpr int lines = 100000;
    const CommandContext context = form.commandContext();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < lines; ++i)
        handleCommandLine(context, speaker, text);
    return clock.nsecsElapsed() / 1e3 / lines;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    TestWorld world("tester");
    world.writePreferences(world.musicDir(), "Ann");
    Form1 &form = world.start();
    world.settle();

    std::printf("gate alone (someone else's \".stop\"): %.2f µs a line\n",
                microsecondsPerLine(form, "bob", ".stop"));
    std::printf("the user's line that is no command:   %.2f µs a line\n",
                microsecondsPerLine(form, "tester", "well, that was quite a song, wasn't it"));
    std::printf("the user's 1 KB line, no command:     %.2f µs a line\n",
                microsecondsPerLine(form, "tester", "." + QString(1023, u'x')));

    int seen = 0;
    QObject::connect(form.chat1, &ChatScan::ChatLine, [&seen] { ++seen; });
    const QString kilobyte = ".stop" + QString(1019, u'*');
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 10000; ++i)
        world.sayAs("bob", kilobyte);
    while (seen < 10000)
        QCoreApplication::processEvents();
    std::printf("10,000 lines of 1 KB from others:     %.1f ms in all (said, scanned and handled)\n",
                clock.nsecsElapsed() / 1e6);
    std::printf("targets: under 20 µs a line; under 500 ms for the burst\n");
    return 0;
}
