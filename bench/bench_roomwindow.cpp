// What a line costs the room window, said and drawn, on the thread's own
// clock: hostile HTML against plain text of the same length, the floor
// measured in the same run (target: a fixed number of times the floor at
// every length; past what the window shows a line is cut, so it costs no
// more than the longest shown), and a flood of lines that bring 32 new
// colours each, which the transcript must forget as their lines go (target:
// within twice the floor of as many lines in the same 32 colours).
// Usage: bench_roomwindow [characters a line: 1k|100k|1M]
#include "figures.h"
#include "platform/chatclient.h"
#include "platform/chatroomwindow.h"

#include <QApplication>
#include <QTest>
#include <cstdio>

namespace {

double millisecondsPerLine(ChatClient &client, WindowHandle room, ChatRoomWindow &window, const QString &line,
                           int lines = 20)
{
    return ownMilliseconds([&] {
               for (int i = 0; i < lines; ++i) {
                   client.say(room, "bob", line);
                   window.grab();
               }
           })
        / lines;
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

// Markup a stranger writes costs the window no more than twice the plain
// text of its length.
constexpr double TargetRatio = 2;

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

    const qsizetype length = benchSize(argc, argv);
    std::printf("bench_roomwindow: lines of %lld characters, said and drawn\n", qlonglong(length));
    const double plain = millisecondsPerLine(client, room, window, filled("plain text ", length));
    const struct {
        const char *name;
        QString piece;
    } kinds[] = {
        {"nested tables", "<table><tr><td>"},
        {"nested fonts", "<font face=Serif size=+1 color=red>x"},
        {"bold on and off", "<b>x</b>"},
        {"images", "<img src=\"/dev/zero\">"},
    };
    for (const auto &kind : kinds)
        printAgainstFloor(kind.name, millisecondsPerLine(client, room, window, filled(kind.piece, length)), plain,
                          "plain text", TargetRatio, "ms a line");

    // Past the transcript's length, each line said drops the oldest.
    const int flood = 3 * int(ChatClient::TranscriptLength) / 2;
    const double sameColours = millisecondsPerLine(client, room, window, colours(0, 32), flood);
    int first = 0;
    const double newColours = ownMilliseconds([&] {
                                  for (int i = 0; i < flood; ++i, first += 32) {
                                      client.say(room, "bob", colours(first, 32));
                                      window.grab();
                                  }
                              })
        / flood;
    printAgainstFloor("32 new colours a line", newColours, sameColours, "the same 32 colours", 2, "ms a line");
    return benchDone();
}
