#include "chat/clientwindows.h"
#include "platform/chatclient.h"
#include "platform/desktop.h"
#include "platform/terminalface.h"
#include "support/testregistry.h"

#include <QTest>
#include <memory>
#include <unistd.h>

class ClientWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    // The upper room and the user the Welcome window names, hidden or not;
    // without a client there is nothing to find and nothing breaks.
    void theRoomTheUserAndTheWelcomeWindow()
    {
        Desktop desktop;
        ChatSend(desktop, "lost");
        HideWelcome(desktop);
        QCOMPARE(FindChatRoom(desktop), WindowHandle(0));
        QCOMPARE(GetUser(desktop), QString());
        QCOMPARE(GetText(desktop, 0), QString());

        ChatClient client(desktop, "Bob");
        const WindowHandle lower = client.openRoom("Lower"), upper = client.openRoom("Upper");
        QCOMPARE(FindChatRoom(desktop), upper);
        // What the user was typing goes back into the box; an empty box stays empty.
        for (const QString &typing : {QString("half a li"), QString()}) {
            QString text = typing;
            desktop.sendMessage(client.entryBox(upper), WindowMessage::SetText, 0, &text);
            ChatSend(desktop, "announcement");
            QCOMPARE(client.transcript(upper).back().shown, QString("announcement"));
            QCOMPARE(client.transcript(upper).back().screenName, QString("Bob"));
            QCOMPARE(GetText(desktop, client.entryBox(upper)), typing);
        }
        QCOMPARE(client.transcript(upper).size(), std::size_t(2));
        QVERIFY(client.transcript(lower).empty());

        HideWelcome(desktop);
        QVERIFY(!desktop.isVisible(client.welcomeWindow()));
        QCOMPARE(GetUser(desktop), QString("Bob"));
        ShowWelcome(desktop);
        QVERIFY(desktop.isVisible(client.welcomeWindow()));
    }

    // What was found last holds only until the windows change: a room
    // brought forward, a room closed, a new caption, another desktop.
    void foundAnewOnceTheWindowsChange()
    {
        Desktop desktop;
        ChatClient client(desktop, "Bob");
        const WindowHandle lower = client.openRoom("Lower"), upper = client.openRoom("Upper");
        QCOMPARE(FindChatRoom(desktop), upper);
        QCOMPARE(GetUser(desktop), QString("Bob"));
        desktop.bringToTop(lower);
        QCOMPARE(FindChatRoom(desktop), lower);
        client.closeRoom(lower);
        QCOMPARE(FindChatRoom(desktop), upper);
        QString welcome = "Welcome, Ann!";
        desktop.sendMessage(client.welcomeWindow(), WindowMessage::SetText, 0, &welcome);
        QCOMPARE(GetUser(desktop), QString("Ann"));

        // Two desktops that went through the same changes in the same order
        // are still two.
        Desktop first, second;
        ChatClient firstClient(first, "Dee"), secondClient(second, "Cy");
        const WindowHandle firstRoom = firstClient.openRoom("Lower");
        QCOMPARE(FindChatRoom(first), firstRoom);
        QCOMPARE(GetUser(first), QString("Dee"));
        const WindowHandle secondRoom = secondClient.openRoom("Lower");
        QCOMPARE(FindChatRoom(second), secondRoom);
        QCOMPARE(GetUser(second), QString("Cy"));
    }

    // A network's room shows only what the network delivers, and its poster
    // may close it during a post; the terminal cannot make a line pass there
    // for somebody else's.
    void aNetworkRoomPostsThroughItsPoster()
    {
        Desktop desktop;
        ChatClient client(desktop, "Bob");
        QStringList posted;
        WindowHandle room = 0;
        room = client.openRoom("#music", [&](const QString &text) {
            posted << text;
            if (text == "bye")
                client.closeRoom(room);
        });
        int pipeEnds[2];
        QCOMPARE(pipe(pipeEnds), 0);
        auto terminal = std::make_unique<TerminalFace>(client, pipeEnds[0], stdout);
        ChatSend(desktop, "announcement");
        QCOMPARE(write(pipeEnds[1], "/as bob hi\nhello\n", 17), 17);
        QTRY_COMPARE(posted, (QStringList{"announcement", "hello"}));
        QVERIFY(client.transcript(room).empty());
        terminal.reset();
        ::close(pipeEnds[1]);
        ::close(pipeEnds[0]);
        ChatSend(desktop, "bye");
        QCOMPARE(FindChatRoom(desktop), WindowHandle(0));
    }
};

DUN2_TEST(ClientWindowsTest);
#include "tst_clientwindows.moc"
