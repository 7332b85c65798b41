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
    // A server's refusal that ends the program reaches the terminal
    // escaped: no control or bidirectional character of the server's gets
    // through. (A participant's line is written as every line of the room
    // is, which is the terminal face's test.)
    void networkTextIsEscapedOnTheTerminal()
    {
        QTemporaryDir home;
        fillHome(home.path(), {"alpha"});
        // Scripted: no real server puts escape sequences in its refusals.
        ScriptedServer server;
        Program player(home.path(), {"--screen-name", "ceo", "--irc",
                                     QStringLiteral("irc://127.0.0.1:%1/#music").arg(server.port())});
        QVERIFY(server.play({{"CAP LS", ":irc.test CAP * LS :\r\n"}}) && !server.waitFor("CAP END").isEmpty());
        for (int i = 0; i < 21; ++i)
            server.send(":irc.test 433 * ceo :\x1b[2J\x1b[31mYOU HAVE BEEN PWNED\x1b[0m\x07\xE2\x80\xAE\r\n");
        // Waited for in the event loop, which writes what the server sent.
        QTRY_VERIFY_WITH_TIMEOUT(player.errors().contains("can't stay in the chat room"), 15000);
        QCOMPARE(player.exitCode(), 1);
        QVERIFY2(player.errors().contains("\\x1b[2J\\x1b[31mYOU HAVE BEEN PWNED\\x1b[0m\\x07\\u202e)"), player.errors());
        for (const char *raw : {"\x1b", "\x07", "\xE2\x80\xAE"})
            QVERIFY2(!player.errors().contains(raw), player.errors());
    }
};

DUN2_TEST(IrcHostileProgramTest);
#include "tst_irchostile.moc"
