#include "platform/chatclient.h"
#include "platform/chatroomwindow.h"
#include "platform/irc/ircroom.h"
#include "platform/irc/ircsession.h"
#include "support/ircservers.h"
#include "support/rawircclient.h"
#include "support/testregistry.h"

#include <QLineEdit>
#include <QTest>

// What the user types in the room window on a real channel: said as typed,
// while what the program posts through the entry box stays chat markup.
class IrcTypedTest : public QObject
{
    Q_OBJECT

private slots:
    void theWindowSaysWhatIsTyped()
    {
        TestIrcServer server(TestIrcServer::Kind::Ngircd);
        QVERIFY(server.start());
        RawIrcClient bob(server, {.nick = "bob"});
        QVERIFY(bob.signOn() && bob.join("#music"));
        IrcSession session({"127.0.0.1", server.port(), false}, {"alice"}, "#music");
        Desktop desktop;
        ChatClient client(desktop, "alice");
        IrcRoom room(client, session, {});
        ChatRoomWindow window(client);
        QStringList received;
        connect(&client, &ChatClient::lineReceived, this,
                [&](WindowHandle, const ChatClientLine &line) { received << line.screenName + ": " + line.text; });
        session.start();
        QTRY_VERIFY_WITH_TIMEOUT(room.room(), 15000);
        QVERIFY(!bob.waitFor(" JOIN ").isEmpty());

        const QString typed = QStringLiteral("<i>it</i> &lt;tag&gt; vector<int> v;");
        QTest::keyClicks(window.entryLine(), typed);
        QTest::keyClick(window.entryLine(), Qt::Key_Return);
        QVERIFY(window.entryLine()->text().isEmpty());
        QVERIFY(bob.waitFor(":alice!").endsWith("PRIVMSG #music :" + typed.toUtf8()));
        // The program's own line, posted through the entry box, is markup.
        QString markup = QStringLiteral("<b>bold</b> &lt;");
        desktop.sendMessage(client.entryBox(room.room()), WindowMessage::SetText, 0, &markup);
        desktop.sendMessage(client.entryBox(room.room()), WindowMessage::Char, 13);
        QVERIFY(bob.waitFor(":alice!").endsWith("PRIVMSG #music :\x02" "bold\x02 <"));
        QTRY_COMPARE(received, (QStringList{"alice: " + typed, "alice: bold <"}));
    }
};

DUN2_TEST(IrcTypedTest);
#include "tst_irctyped.moc"
