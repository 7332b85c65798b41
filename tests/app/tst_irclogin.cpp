// The program's login on a real network: its password out of sight, and a
// login that worked kept through a restart of the network before its
// services.
#include "ircplayer.h"
#include "support/testregistry.h"

#include <QTemporaryDir>

class IrcLoginTest : public QObject
{
    Q_OBJECT

private slots:
    // Once in the channel the password is in no environment a child could
    // inherit or /proc shows; inspircd restarted without atheme offers no
    // SASL, which the player waits out, and it logs in again once atheme is
    // back.
    void aLoginThatWorkedOutlastsTheServices()
    {
        TestIrcServer server(TestIrcServer::Kind::Inspircd);
        QVERIFY(server.start());
        QVERIFY(server.registerAccount("ceo", "ceo-secret"));
        QTemporaryDir home;
        fillHome(home.path(), {"alpha"});
        Program player(home.path(),
                       {"--screen-name", "ceo", "--irc-ca", server.caFile(), "--irc",
                        QStringLiteral("ircs://127.0.0.1:%1/#music").arg(server.tlsPort())},
                       {"DUN2_IRC_PASSWORD=ceo-secret"});
        QVERIFY2(player.saidOnError("dun2: in #music"), player.errors());
        QFile environment(QStringLiteral("/proc/%1/environ").arg(player.pid()));
        QVERIFY(environment.open(QIODevice::ReadOnly));
        const QByteArray seen = environment.readAll();
        QVERIFY(seen.contains("HOME=") && !seen.contains("ceo-secret") && !seen.contains("DUN2_IRC_PASSWORD"));

        server.stop();
        QVERIFY(server.start(false));
        QVERIFY2(player.saidOnError("can't log in (the server offers no SASL login, and a password was given);"
                                    " retrying in", 60000),
                 player.errors());
        QVERIFY(server.startServices());
        QTRY_COMPARE_WITH_TIMEOUT(player.errors().count("dun2: in #music"), 2, 90000);
        RawIrcClient friendly(server, {.nick = "friendly", .caps = {"account-tag"}});
        QVERIFY(friendly.signOn() && friendly.join("#music"));
        player.type(".mp3s?");
        QVERIFY(friendly.waitFor("PRIVMSG #music :.mp3s?").contains("account=ceo"));
    }
};

DUN2_TEST(IrcLoginTest);
#include "tst_irclogin.moc"
