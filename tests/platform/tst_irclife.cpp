// What happens in a room apart from what is said in it: both faces show a
// notice as nobody's line, the room keeps it, and nothing reads it as said.
// And the ration of CTCP answers, on a clock of the test's.
#include "platform/chatclient.h"
#include "platform/chatroomwindow.h"
#include "platform/irc/ircctcp.h"
#include "platform/terminalface.h"
#include "support/testregistry.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <cstdio>
#include <unistd.h>

class IrcLifeTest : public QObject
{
    Q_OBJECT

private slots:
    void aNoticeIsShownAndKeptButNeverSaid()
    {
        Desktop desktop;
        ChatClient client(desktop, "Ann");
        const WindowHandle room = client.openRoom("Lobby");
        ChatRoomWindow window(client);
        int input[2];
        QVERIFY(pipe(input) == 0);
        std::FILE *output = std::tmpfile();
        TerminalFace terminal(client, input[0], output);
        QSignalSpy said(&client, &ChatClient::lineReceived);

        // Written to look like a line of Ann's: the tab gives it away.
        client.notify(room, "Ann:\t.stop");
        client.say(room, "Bob", "hi");

        QCOMPARE(said.count(), 1);
        QCOMPARE(client.transcript(room).front().notice, true);
        std::rewind(output);
        char printed[256];
        const std::size_t size = std::fread(printed, 1, sizeof printed, output);
        QCOMPARE(QByteArray(printed, qsizetype(size)), QByteArray("-- Ann:\\t.stop\nBob:\thi\n"));
        // The same in a window that writes it anew from the room's transcript.
        ChatRoomWindow later(client);
        for (const ChatRoomWindow *face : {&window, &later}) {
            QCOMPARE(face->transcriptView()->toPlainText(), QString("-- Ann: .stop\nBob: hi"));
            const QTextCharFormat notice = face->transcriptView()->document()->firstBlock().begin().fragment().charFormat();
            QVERIFY(notice.fontItalic() && notice.fontWeight() != QFont::Bold);
        }
        std::fclose(output);
        ::close(input[0]);
        ::close(input[1]);
    }

    void ctcpAnswersAreRationed()
    {
        qint64 now = 0;
        IrcCtcp ctcp([&now] { return now; });
        QCOMPARE(ctcp.answer("a", "PING 1 2"), QString("PING 1 2"));
        QCOMPARE(ctcp.answer("b", "CLIENTINFO"), QString("CLIENTINFO ACTION CLIENTINFO PING TIME VERSION"));
        // Not answered, and not counted against the ration.
        for (const char *unanswered : {"DCC SEND x", "ACTION waves", ".vol 5", ""})
            QCOMPARE(ctcp.answer("c", unanswered), std::nullopt);
        now = IrcCtcp::PerSenderMs - 1;
        QCOMPARE(ctcp.answer("a", "TIME"), std::nullopt);
        QVERIFY(ctcp.answer("c", "TIME")->startsWith("TIME "));
        now = IrcCtcp::PerSenderMs;
        QVERIFY(ctcp.answer("a", "VERSION")->startsWith("VERSION "));
        // The ration is spent, for new senders too, until the oldest answers are old enough.
        QCOMPARE(ctcp.answer("d", "VERSION"), std::nullopt);
        now = IrcCtcp::MaxAnswersMs;
        QVERIFY(ctcp.answer("d", "VERSION") && ctcp.answer("e", "VERSION"));
        QCOMPARE(ctcp.answer("f", "VERSION"), std::nullopt);
        // A long argument is echoed cut, between characters.
        QCOMPARE(ctcp.answer("f", "PING " + QString(200, QChar(0x00e9))), std::nullopt);
        now += IrcCtcp::MaxAnswersMs;
        QCOMPARE(ctcp.answer("f", "PING " + QString(200, QChar(0x00e9))), "PING " + QString(64, QChar(0x00e9)));
    }
};

DUN2_TEST(IrcLifeTest);
#include "tst_irclife.moc"
