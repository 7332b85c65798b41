// What the network sends that could drive the user's terminal: the program
// as a user runs it, in its terminal face.
#include "ircplayer.h"
#include "support/scriptedircserver.h"
#include "support/testregistry.h"

#include <QTemporaryDir>

class IrcHostileProgramTest : public QObject
{
    Q_OBJECT

private slots:
    // A server's refusal that ends the program, and a participant's line,
    // reach the terminal escaped: no control or bidirectional character of
    // theirs gets through, wherever the program writes their text.
    void networkTextIsEscapedOnTheTerminal()
    {
        QTemporaryDir home;
        fillHome(home.path(), {"alpha"});
        const QByteArray raw[] = {"\x1b", "\x07", "\xE2\x80\xAE", "\xE2\x81\xA7"}; // ESC, BEL, U+202E, U+2067
        {
            // Scripted: no real server puts escape sequences in its refusals.
            ScriptedServer server;
            Program player(home.path(), {"--screen-name", "ceo", "--irc",
                                         QStringLiteral("irc://127.0.0.1:%1/#music").arg(server.port())});
            QVERIFY(!server.waitFor("CAP LS").isEmpty());
            server.send(":irc.test CAP * LS :\r\n");
            QVERIFY(!server.waitFor("CAP END").isEmpty());
            for (int i = 0; i < 21; ++i)
                server.send(":irc.test 433 * ceo :\x1b[2J\x1b[31mYOU HAVE BEEN PWNED\x1b[0m\x07\xE2\x80\xAE\r\n");
            // Waited for in the event loop, which writes what the server sent.
            QTRY_VERIFY_WITH_TIMEOUT(player.errors().contains("can't stay in the chat room"), 15000);
            QCOMPARE(player.exitCode(), 1);
            QVERIFY2(player.errors().contains("\\x1b[2J\\x1b[31mYOU HAVE BEEN PWNED\\x1b[0m\\x07\\u202e)"), player.errors());
            for (const QByteArray &bytes : raw)
                QVERIFY2(!player.errors().contains(bytes), player.errors());
        }
        TestIrcServer server(TestIrcServer::Kind::Ngircd);
        QVERIFY(server.start());
        Program player(home.path(), {"--screen-name", "ceo", "--irc", music(server)});
        RawIrcClient eve(server, {.nick = "eve"});
        QVERIFY(eve.signOn() && eve.join("#music"));
        QVERIFY(player.saidOnError("in #music"));
        eve.say("#music", QString::fromUtf8("txt.3pm\xE2\x80\xAE \xE2\x81\xA7isolated\xE2\x81\xA9"));
        QTRY_VERIFY(player.out().contains("eve:\ttxt.3pm\\u202e \\u2067isolated\\u2069\n"));
        for (const QByteArray &bytes : raw)
            QVERIFY(!player.out().contains(bytes));
    }
};

DUN2_TEST(IrcHostileProgramTest);
#include "tst_irchostile.moc"
