// A long scroll through the player on a server that disconnects flooders:
// on its own, as it takes as long as the pacing makes it.
#include "ircplayer.h"
#include "support/testregistry.h"


class IrcScrollTest : public QObject
{
    Q_OBJECT

private slots:
    // A scroll longer than the server's burst arrives whole and in order,
    // paced so that a server which disconnects flooders keeps the player; a
    // reply goes ahead of the entries still queued, and so does the goodbye.
    void aLongScrollArrivesWholeWithoutFlooding()
    {
        constexpr int Tracks = 15;
        IrcStage stage(TestIrcServer::Kind::Inspircd);
        stage.server.setDisconnectFlooders(true);
        QVERIFY(stage.start(songs(Tracks)));
        const auto entry = [](int i) { return inIrc(QStringLiteral("<b>%1</b> song %2").arg(i).arg(i, 2, 10, QChar('0'))); };
        const auto scroll = [&](RawIrcClient &boss) {
            boss.say("#music", ".p song");
            QVERIFY(heard(boss, inIrc("<b>type</b>: view, scroll, rnd, or cancel ")));
            boss.say("#music", ".scroll");
            QVERIFY(heard(boss, inIrc("<b>p</b> and song to play")));
        };
        Program player = stage.player();
        RawIrcClient boss(stage.server, {.nick = "boss"});
        QVERIFY(inMusic(boss) && player.saidOnError("in #music"));
        scroll(boss);
        for (int i = 1; i <= 6; ++i)
            QVERIFY2(heard(boss, entry(i)), qPrintable(QString::number(i)));
        // Some 12 s in, with entries queued behind the next one: the answer
        // comes before entry 10, and every line before it is the next entry.
        boss.say("#music", ".vol 10");
        int next = 7;
        QByteArray reply;
        while ((reply = boss.waitFor(":ceo-player!")).endsWith(entry(next)))
            ++next;
        QVERIFY2(reply.endsWith(inIrc("<b>volume</b> set 10%")) && next < 10, reply);
        for (int i = next; i <= Tracks; ++i)
            QVERIFY2(heard(boss, entry(i)), qPrintable(QString::number(i)));
        // Still there after the burst: a later command is answered.
        boss.say("#music", ".mp3s?");
        QVERIFY(heard(boss, inIrc(QStringLiteral("<b>mp3 count </b>%1").arg(Tracks))));
        QVERIFY(!player.errors().contains("lost"));
        // Leaving mid-scroll: the goodbye goes ahead of the entries queued,
        // which at a line each two seconds take longer than heard() waits.
        scroll(boss);
        QVERIFY(heard(boss, entry(1)));
        boss.say("#music", ".exit");
        QVERIFY(heard(boss, inIrc(QString::fromUtf8("Ðûñ² unløªded "))));
        QCOMPARE(player.exitCode(), 0);
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
