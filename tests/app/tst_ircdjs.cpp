// DJs on a network whose services vouch for accounts.
#include "ircplayer.h"
#include "support/audiofiles.h"
#include "support/testregistry.h"

#include <QFile>

class IrcDjsTest : public QObject
{
    Q_OBJECT

private slots:
    // Whoever the server vouches is logged in to a DJ's account plays the
    // music under their own nick, from the channel or privately, and
    // answers the search; the program's windows and settings stay the
    // owner's. The DJ's nick without the account commands nothing, and a
    // DJ taken off the list (the command line over irc.ini, at a restart)
    // commands nothing either. A server that can't vouch for accounts is
    // refused.
    void djsPlayTheMusic()
    {
        IrcStage stage(TestIrcServer::Kind::Inspircd);
        TestIrcServer &server = stage.server;
        QVERIFY(stage.start({"alpha", "beta"}) && server.registerAccount("dj1", "dj1-secret"));
        makeMp3(stage.home.filePath("alpha.mp3"), 1.0);
        QFile ini(stage.home.filePath("irc.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write("[IRC]\r\ndj accounts=dj2, dj1\r\n") > 0);
        ini.close();
        RawIrcClient boss(server, {.nick = "boss"});
        QVERIFY(inMusic(boss));
        const RawIrcClient::Options djLogin{.nick = "dj1", .account = "dj1", .password = "dj1-secret"};
        {
            Program player = stage.player();
            QVERIFY(player.saidOnError("in #music"));
            {
                RawIrcClient dj(server, djLogin);
                QVERIFY(inMusic(dj));
                dj.say("#music", ".p alpha");
                QVERIFY2(heard(boss, inIrc("<b>playing</b>: alpha")), player.out() + player.errors());
                QVERIFY(player.out().contains("dj1:\t.p alpha\n"));
                dj.say("#music", ".p a");
                QVERIFY(heard(boss, inIrc("<b>type</b>: view, scroll, rnd, or cancel ")));
                dj.send("PRIVMSG ceo-player :.cancel");
                QVERIFY(heard(boss, inIrc("<b>canceled</b> .. ")));
                dj.say("#music", ".exit");
                dj.send("PRIVMSG ceo-player :.handle mallory");
                dj.send("PRIVMSG ceo-player :.mp3s?");
                QVERIFY(heard(boss, inIrc("<b>mp3 count </b>2")));
                QVERIFY(!player.out().contains(QString::fromUtf8("unløªded").toUtf8()));
                QVERIFY(!player.out().contains("new handle"));
                dj.send("QUIT");
                QVERIFY(!dj.waitFor("ERROR").isEmpty());
            }
            RawIrcClient impostor(server, {.nick = "dj1"});
            QVERIFY(inMusic(impostor));
            impostor.say("#music", ".vol 7");
            QTRY_VERIFY(player.out().contains("dj1 (not logged in):\t.vol 7\n"));
            // Whatever that line caused is shown before a later one's answer.
            boss.say("#music", ".mp3s?");
            QTRY_COMPARE(player.out().count("mp3 count"), 2);
            QVERIFY(!player.out().contains("volume"));
            impostor.send("QUIT");
            QVERIFY(!impostor.waitFor("ERROR").isEmpty());
        }
        Program player = stage.player({"--screen-name", "ceo-player", "--owner", "boss", "--dj-account", "dj2"});
        QVERIFY(player.saidOnError("in #music"));
        RawIrcClient dj(server, djLogin);
        QVERIFY(inMusic(dj));
        dj.say("#music", ".mp3s?");
        boss.say("#music", ".vol 30");
        QTRY_VERIFY(player.out().contains("set 30%"));
        QVERIFY(player.out().contains("dj1:\t.mp3s?\n") && !player.out().contains("mp3 count"));

        IrcStage plain(TestIrcServer::Kind::Ngircd);
        QVERIFY(plain.start());
        Program refused = plain.player({"--screen-name", "ceo-player", "--dj-account", "dj1"});
        QVERIFY2(refused.saidOnError("so --dj-account can't be checked"), refused.errors());
        QCOMPARE(refused.exitCode(), 1);
    }
};

DUN2_TEST(IrcDjsTest);
#include "tst_ircdjs.moc"
