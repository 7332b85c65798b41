#include "platform/chatclient.h"
#include "platform/desktop.h"
#include "support/testregistry.h"

#include <QSignalSpy>
#include <QTest>

class ChatClientTest : public QObject
{
    Q_OBJECT

private slots:
    void windowSearchMatchesClassesLooselyAndCaptionsExactly()
    {
        Desktop desktop;
        WindowHandle frame = desktop.createWindow(0, "AOL Frame25", "Frame");
        WindowHandle first = desktop.createWindow(frame, "AOL Child", "one");
        WindowHandle second = desktop.createWindow(frame, "aol child", "two"); // on top of "one"
        const QString one = "one", oneUpper = "ONE";

        QCOMPARE(desktop.findWindow("aol frame25"), frame);
        QCOMPARE(desktop.findWindowEx(frame, 0, "AOL CHILD"), second);
        QCOMPARE(desktop.findWindowEx(frame, second, "AOL Child"), first);
        QCOMPARE(desktop.findWindowEx(frame, first, "AOL Child"), WindowHandle(0));
        QCOMPARE(desktop.findWindowEx(frame, 0, "AOL Child", &one), first);
        QCOMPARE(desktop.findWindowEx(frame, 0, "AOL Child", &oneUpper), WindowHandle(0));
        desktop.bringToTop(first);
        QCOMPARE(desktop.findWindowEx(frame, 0, "AOL Child"), first);
        // Searches from a window that is gone, or under one, find nothing.
        desktop.destroyWindow(second);
        QCOMPARE(desktop.findWindowEx(frame, second, "AOL Child"), WindowHandle(0));
        QCOMPARE(desktop.findWindowEx(second, 0, "AOL Child"), WindowHandle(0));
        QCOMPARE(desktop.getWindowTextLength(second), 0);
    }

    void textMessagesCutToTheBuffer()
    {
        Desktop desktop;
        WindowHandle window = desktop.createWindow(0, "RICHCNTL", QString());
        QString text = QString::fromUtf8("Ðûñ² \U0001F600");
        QCOMPARE(desktop.sendMessage(window, WindowMessage::SetText, 0, &text), 1);
        QCOMPARE(desktop.sendMessage(window, WindowMessage::GetTextLength), text.size());
        QString read;
        QCOMPARE(desktop.sendMessage(window, WindowMessage::GetText, 4, &read), 3);
        QCOMPARE(read, QString::fromUtf8("Ðûñ"));
        // A buffer that would split the last character keeps it out whole.
        QCOMPARE(desktop.getWindowText(window, int(text.size())), QString::fromUtf8("Ðûñ² "));
        QCOMPARE(desktop.getWindowText(window, 0), QString());
    }

    void enterPostsTheEntryBoxAsTheSignedOnUser()
    {
        Desktop desktop;
        ChatClient client(desktop, "Ann");
        WindowHandle room = client.openRoom("Lobby");
        QSignalSpy lines(&client, &ChatClient::lineReceived);
        WindowHandle entry = client.entryBox(room);

        desktop.sendMessage(entry, WindowMessage::Char, 13); // empty box: nothing
        QString text = "hello <b>all</b>";
        desktop.sendMessage(entry, WindowMessage::SetText, 0, &text);
        desktop.sendMessage(entry, WindowMessage::Char, 'x'); // only Enter posts
        QCOMPARE(lines.count(), 0);
        desktop.sendMessage(entry, WindowMessage::Char, 13);
        QCOMPARE(lines.count(), 1);
        QCOMPARE(lines[0][1].toString(), QString("Ann"));
        QCOMPARE(lines[0][2].toString(), text);
        QCOMPARE(desktop.getWindowTextLength(entry), 0);

        client.say(room, "Bob", "hi");
        QCOMPARE(lines.count(), 2);
        QCOMPARE(client.transcript(room).back().screenName, QString("Bob"));
    }

    void roomsKeepTheirPlaceAndABoundedTranscript()
    {
        Desktop desktop;
        ChatClient client(desktop, "Ann");
        QCOMPARE(client.currentRoom(), WindowHandle(0));
        WindowHandle lobby = client.openRoom("Lobby");
        WindowHandle music = client.openRoom("Music");
        QCOMPARE(client.currentRoom(), music);
        desktop.bringToTop(lobby);
        QCOMPARE(client.currentRoom(), lobby);
        for (int i = 0; i < 2000; ++i)
            client.say(lobby, "Bob", QString::number(i));
        QCOMPARE(client.transcript(lobby).size(), ChatClient::TranscriptLength);
        QCOMPARE(client.transcript(lobby).back().text, QString("1999"));
        client.closeRoom(lobby);
        QCOMPARE(client.currentRoom(), music);
        client.say(lobby, "Bob", "into a closed room"); // goes nowhere
        QVERIFY(client.transcript(lobby).empty());
    }
};

DUN2_TEST(ChatClientTest);
#include "tst_chatclient.moc"
