#include "platform/chatclient.h"
#include "platform/desktop.h"
#include "support/testregistry.h"

#include <QTest>

class ChatClientTest : public QObject
{
    Q_OBJECT

private slots:
    void textMessagesCutToTheBuffer()
    {
        Desktop desktop;
        WindowHandle window = desktop.createWindow(0, "RICHCNTL", QString());
        QString text = QString::fromUtf8("Ðûñ² \U0001F600");
        desktop.sendMessage(window, WindowMessage::SetText, 0, &text);
        // A buffer that would split the last character keeps it out whole.
        QCOMPARE(desktop.getWindowText(window, int(text.size())), QString::fromUtf8("Ðûñ² "));
        QCOMPARE(desktop.getWindowText(window, 0), QString());
    }

    void screenNamesTheServiceWouldRefuse()
    {
        for (const char *name : {"", "jo!e", "!", "a\nb", "a\x1b[2Jb", "\tann", " ann", "ann "})
            QVERIFY2(!ScreenNameProblem(name).isEmpty(), name);
        QCOMPARE(ScreenNameProblem(QString::fromUtf8("Ann Lé 2")), QString());
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
        QCOMPARE(client.transcript(lobby).back().shown, QString("1999"));
        client.closeRoom(lobby);
        QCOMPARE(client.currentRoom(), music);
        client.say(lobby, "Bob", "into a closed room"); // goes nowhere
        QVERIFY(client.transcript(lobby).empty());
    }

};

DUN2_TEST(ChatClientTest);
#include "tst_chatclient.moc"
