// The player kept busy by its own waits on a real network: the link is
// still served.
#include "ircplayer.h"
#include "support/testregistry.h"


class IrcStallTest : public QObject
{
    Q_OBJECT

private slots:
    // The owner's search over many tracks, then more scrolls through it than
    // waits may nest and a crowd of lines: the player takes no more lines
    // for a long while, and is kicked meanwhile. It comes back all the same.
    void busyPlayerStillAnswersTheServer()
    {
        IrcStage stage(TestIrcServer::Kind::Inspircd);
        QVERIFY(stage.start(songs(200, 0)));
        RawIrcClient boss(stage.server, {.nick = "boss"});
        QVERIFY(inMusic(boss));
        Program player = stage.player();
        QVERIFY(player.saidOnError("in #music"));
        QVERIFY(!boss.waitFor(" JOIN ").isEmpty());
        boss.say("#music", ".p song");
        QVERIFY(heard(boss, inIrc("<b>type</b>: view, scroll, rnd, or cancel ")));
        for (int i = 0; i < 105; ++i)
            boss.say("#music", ".scroll");
        for (int i = 0; i < 800; ++i)
            boss.say("#music", QStringLiteral("crowd %1").arg(i));
        // The kick and the rejoin are the protocol's: neither waits behind the crowd.
        boss.send("KICK #music ceo-player :out");
        QVERIFY(!boss.waitFor("KICK #music ceo-player").isEmpty());
        QVERIFY2(boss.waitFor(" JOIN ", 30000).startsWith(":ceo-player!"), player.errors().right(2000).constData());
    }
};

DUN2_TEST(IrcStallTest);
#include "tst_ircstall.moc"
