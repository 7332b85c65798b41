#include "platform/chatclient.h"
#include "platform/chatroomwindow.h"
#include "support/testregistry.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>

class ChatRoomWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void entryLineIsTheRoomsEntryBox()
    {
        Desktop desktop;
        ChatClient client(desktop, "Ann");
        WindowHandle room = client.openRoom("Lobby");
        ChatRoomWindow window(client, room);
        QSignalSpy lines(&client, &ChatClient::lineReceived);

        QTest::keyClicks(window.entryLine(), "half");
        WindowHandle entry = client.entryBox(room);
        QCOMPARE(desktop.getWindowText(entry, 100), QString("half"));
        // Whatever sets the box's text shows in the line, and Enter posts it.
        QString text = "<b>bold</b> & more";
        desktop.sendMessage(entry, WindowMessage::SetText, 0, &text);
        QCOMPARE(window.entryLine()->text(), text);
        QTest::keyClick(window.entryLine(), Qt::Key_Return);
        QCOMPARE(lines.count(), 1);
        QCOMPARE(lines[0][1].toString(), QString("Ann"));
        QCOMPARE(lines[0][2].toString(), text);
        QCOMPARE(window.entryLine()->text(), QString());
        // The line's HTML is rendered, the speaker's name is not.
        QVERIFY(window.transcriptView()->toPlainText().contains("Ann: bold & more"));
    }

    void saysALineAsSomeoneElse()
    {
        Desktop desktop;
        ChatClient client(desktop, "Ann");
        WindowHandle room = client.openRoom("Lobby");
        client.say(room, "<i>Zed</i>", "earlier");
        ChatRoomWindow window(client, room);
        QVERIFY(window.transcriptView()->toPlainText().contains("<i>Zed</i>: earlier"));

        QSignalSpy lines(&client, &ChatClient::lineReceived);
        QTest::keyClick(window.otherText(), Qt::Key_Return); // nobody named: nothing said
        window.otherName()->setText("Bob");
        QTest::keyClicks(window.otherText(), ".stop");
        QTest::keyClick(window.otherText(), Qt::Key_Return);
        QCOMPARE(lines.count(), 1);
        QCOMPARE(lines[0][1].toString(), QString("Bob"));
        QCOMPARE(lines[0][2].toString(), QString(".stop"));
        QCOMPARE(window.otherText()->text(), QString());
    }
};

DUN2_TEST(ChatRoomWindowTest);
#include "tst_chatroomwindow.moc"
