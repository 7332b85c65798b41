// The test servers themselves: what the IRC tests rely on them for.
#include "support/ircservers.h"
#include "support/rawircclient.h"
#include "support/testregistry.h"

#include <QTest>

class IrcServersTest : public QObject
{
    Q_OBJECT

private slots:
    // Plain text on ngircd, and the same ports again after a restart.
    void ngircdCarriesLinesAndRestarts()
    {
        TestIrcServer server(TestIrcServer::Kind::Ngircd);
        QVERIFY(server.start());
        const quint16 port = server.port();
        for (int run = 0; run < 2; ++run) {
            RawIrcClient alice(server, {.nick = "alice"});
            RawIrcClient bob(server, {.nick = "bob-the-long-nick"});
            QVERIFY(alice.signOn() && bob.signOn());
            QVERIFY(alice.join("#music") && bob.join("#music"));
            alice.say("#music", "hello bob");
            QVERIFY(bob.waitFor(":alice!").endsWith("PRIVMSG #music :hello bob"));
            server.stop();
            QTRY_VERIFY(alice.wasDisconnected());
            QVERIFY(server.start());
            QCOMPARE(server.port(), port);
        }
    }

    // TLS with the server's certificate authority, echo-message, and an
    // account that SASL logs in to and account-tag reports.
    void inspircdOverTlsWithAccounts()
    {
        TestIrcServer server(TestIrcServer::Kind::Inspircd);
        QVERIFY(server.start());
        QVERIFY(server.registerAccount("owner", "owner-secret"));

        RawIrcClient owner(server, {.nick = "ceo", .caps = {"echo-message"}, .account = "owner",
                                    .password = "owner-secret", .tls = true});
        RawIrcClient player(server, {.nick = "ceo-player", .caps = {"account-tag", "extended-join"}, .tls = true});
        QVERIFY2(owner.signOn(), qPrintable(owner.errors()));
        QVERIFY(player.signOn() && player.join("#music") && owner.join("#music"));
        QVERIFY(player.waitFor(":ceo!").contains(" JOIN #music owner :"));
        owner.say("#music", ".vol 50");
        QVERIFY(owner.waitFor("PRIVMSG #music :.vol 50").startsWith(":ceo!"));
        QVERIFY(player.waitFor("PRIVMSG #music :.vol 50").startsWith("@account=owner "));

        RawIrcClient impostor(server, {.nick = "owner", .tls = true});
        RawIrcClient liar(server, {.nick = "liar", .account = "owner", .password = "wrong"});
        QVERIFY(!liar.signOn());
        QVERIFY(impostor.signOn() && impostor.join("#music"));
        impostor.say("#music", ".stop");
        QVERIFY(player.waitFor("PRIVMSG #music :.stop").startsWith(":owner!"));

        RawIrcClient untrusting(server, {.nick = "untrusting", .tls = true, .caFile = "/nonexistent"});
        QVERIFY(!untrusting.signOn(5000));
        QVERIFY(!untrusting.wasDisconnected());
        QVERIFY2(untrusting.errors().contains("certificate", Qt::CaseInsensitive), qPrintable(untrusting.errors()));

        // Accounts outlive a restart, on the same ports.
        server.stop();
        QVERIFY(server.start());
        RawIrcClient again(server, {.nick = "ceo", .account = "owner", .password = "owner-secret", .tls = true});
        QVERIFY(again.signOn());
    }

    // Ngircd only reads a flooding client more slowly; this is the server
    // that shows a client which does not pace itself.
    void inspircdCanDisconnectFlooders()
    {
        TestIrcServer server(TestIrcServer::Kind::Inspircd);
        server.setDisconnectFlooders(true);
        QVERIFY(server.start());
        RawIrcClient flooder(server, {.nick = "flooder"});
        QVERIFY(flooder.signOn() && flooder.join("#music"));
        for (int i = 0; i < 30; ++i)
            flooder.say("#music", QStringLiteral("line %1").arg(i));
        QVERIFY(flooder.waitFor("ERROR :Closing link").contains("Excess Flood"));
        QTRY_VERIFY(flooder.wasDisconnected());
    }
};

DUN2_TEST(IrcServersTest);
#include "tst_ircservers.moc"
