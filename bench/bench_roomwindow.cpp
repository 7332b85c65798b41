// What a line costs the room window, said and drawn: hostile HTML against
// plain text of the same length (the floor), at growing lengths (target:
// the time grows no faster than the length, and a line that is cut costs
// no more than the longest shown), and a flood of lines that bring 32 new
// colours each, which the transcript must forget as their lines go (target:
// within twice the floor of as many lines in the same 32 colours).
#include "platform/chatclient.h"
#include "platform/chatroomwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>

namespace {

double millisecondsPerLine(ChatClient &client, WindowHandle room, ChatRoomWindow &window, const QString &line,
                           int lines = 20)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < lines; ++i) {
        client.say(room, "bob", line);
        window.grab();
    }
    return clock.nsecsElapsed() / 1e6 / lines;
}

QString filled(const QString &piece, qsizetype length)
{
    return piece.repeated(std::max<qsizetype>(1, length / piece.size()));
}

QString colours(int first, int count)
{
    QString line;
    for (int c = first; c < first + count; ++c)
        line += QString("<font color=#%1>x</font>").arg(c % 0x1000000, 6, 16, QChar('0'));
    return line;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Desktop desktop;
    ChatClient client(desktop, "ann");
    const WindowHandle room = client.openRoom("Lobby");
    ChatRoomWindow window(client);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;

    const struct {
        const char *name;
        QString piece;
    } kinds[] = {
        {"plain text (floor)", "plain text "},
        {"nested tables", "<table><tr><td>"},
        {"nested fonts", "<font face=Serif size=+1 color=red>x"},
        {"bold on and off", "<b>x</b>"},
        {"images", "<img src=\"/dev/zero\">"},
    };
    std::printf("ms a line, said and drawn   1 KB     2 KB     4 KB   1 MB (cut)\n");
    for (const auto &kind : kinds) {
        std::printf("%-26s", kind.name);
        for (qsizetype length : {1 << 10, 2 << 10, 4 << 10, 1 << 20})
            std::printf(" %8.3f", millisecondsPerLine(client, room, window, filled(kind.piece, length)));
        std::printf("\n");
    }

    // Past the transcript's length, each line said drops the oldest.
    const int flood = 6 * int(ChatClient::TranscriptLength);
    const double sameColours = millisecondsPerLine(client, room, window, colours(0, 32), flood);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < flood; ++i) {
        client.say(room, "bob", colours(i * 32, 32));
        window.grab();
    }
    std::printf("%d lines of 32 new colours each: %.3f ms a line; of the same 32 colours (floor): %.3f ms a line\n",
                flood, clock.nsecsElapsed() / 1e6 / flood, sameColours);
    return 0;
}
