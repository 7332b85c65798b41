// A long scroll through the player on a server that disconnects flooders:
// on its own, as it takes as long as the pacing makes it.
#include "ircplayer.h"
#include "support/testregistry.h"


class IrcScrollTest : public QObject
{
    Q_OBJECT

private slots:
    // A scroll longer than the server's burst arrives whole and in order,
    // paced so that a server which disconnects flooders keeps the player.
    void aLongScrollArrivesWholeWithoutFlooding()
    {
        constexpr int Tracks = 15;
        IrcStage stage(TestIrcServer::Kind::Inspircd);
        stage.server.setDisconnectFlooders(true);
        QVERIFY(stage.start(songs(Tracks)));
        Program player = stage.player();
        RawIrcClient boss(stage.server, {.nick = "boss"});
        QVERIFY(inMusic(boss) && player.saidOnError("in #music"));
        boss.say("#music", ".p song");
        QVERIFY(heard(boss, inIrc("<b>type</b>: view, scroll, rnd, or cancel ")));
        boss.say("#music", ".scroll");
        QVERIFY2(heard(boss, inIrc("<b>p</b> and song to play")), player.out() + player.errors());
        for (int i = 1; i <= Tracks; ++i)
            QVERIFY2(heard(boss, inIrc(QStringLiteral("<b>%1</b> song %2").arg(i).arg(i, 2, 10, QChar('0')))),
                     qPrintable(QString::number(i)));
        // Still there after the burst: a later command is answered.
        boss.say("#music", ".mp3s?");
        QVERIFY(heard(boss, inIrc(QStringLiteral("<b>mp3 count </b>%1").arg(Tracks))));
        QVERIFY(!player.errors().contains("lost"));
        // The same burst unpaced does get a client disconnected here.
        RawIrcClient flooder(stage.server, {.nick = "flooder"});
        QVERIFY(flooder.signOn() && flooder.join("#flood"));
        for (int i = 0; i <= Tracks; ++i)
            flooder.say("#flood", QStringLiteral("line %1").arg(i));
        QVERIFY(flooder.waitFor("ERROR :Closing link").contains("Excess Flood"));
    }
};

DUN2_TEST(IrcScrollTest);
#include "tst_ircscroll.moc"
