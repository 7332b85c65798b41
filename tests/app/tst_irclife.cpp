// The player's channel on inspircd with its services: the channel's life is
// shown and never commands, the owner commands from private messages too,
// and CTCP queries are answered, rationed, and never command.
#include "ircplayer.h"
#include "platform/irc/ircctcp.h"
#include "support/testregistry.h"

#include <QElapsedTimer>

class IrcLifeAppTest : public QObject
{
    Q_OBJECT

private slots:
    void lifePrivateLinesAndCtcp()
    {
        IrcStage stage(TestIrcServer::Kind::Inspircd);
        QVERIFY(stage.start() && stage.server.registerAccount("bossaccount", "boss-secret"));
        RawIrcClient op(stage.server, {.nick = "op"});
        QVERIFY(inMusic(op));
        op.send("TOPIC #music :.mp3s? here");
        QVERIFY(!op.waitFor("TOPIC #music").isEmpty());
        Program player = stage.player({"--screen-name", "ceo-player", "--owner", "boss", "--owner-account", "bossaccount"});
        QVERIFY(player.saidOnOut("-- the topic of #music: .mp3s? here\n-- topic set by op on "));
        RawIrcClient boss(stage.server, {.nick = "boss", .account = "bossaccount", .password = "boss-secret"});
        RawIrcClient eve(stage.server, {.nick = "eve"});
        QVERIFY(inMusic(boss) && inMusic(eve));
        QVERIFY(player.saidOnOut("-- eve joined #music\n"));

        // Each step is shown before the next is taken, so that none can be
        // a command that answers after the owner's sentinel below.
        const struct {
            RawIrcClient *from;
            QByteArray line, shown;
        } life[] = {
            {&eve, "PRIVMSG ceo-player :.vol 7", "-- private message from eve: .vol 7\n"},
            {&boss, "NOTICE #music :.vol 9", "-- notice from boss to #music: .vol 9\n"},
            {&boss, "NOTICE ceo-player :.vol 9", "-- notice from boss: .vol 9\n"},
            {&op, "TOPIC #music :.vol 8", "-- op set the topic of #music: .vol 8\n"},
            {&eve, "NICK eve2", "-- eve is now known as eve2\n"},
            {&op, "KICK #music eve2 :out", "-- eve2 was kicked from #music by op (out)\n"},
            {&eve, "JOIN #music", "-- eve2 joined #music\n"},
            {&eve, "PART #music :bye", "-- eve2 left #music (bye)\n"},
            {&eve, "JOIN #music", "-- eve2 joined #music\n"},
            {&eve, "QUIT :gone", "-- eve2 quit (gone)\n"},
        };
        for (const auto &step : life) {
            step.from->send(step.line);
            // Waited for with the test's event loop running: the participants' lines go out from it.
            QTRY_VERIFY2(player.out().contains(step.shown), player.out());
        }
        QCOMPARE(player.out().count("-- eve2 joined #music\n"), 2);

        // The owner's private line commands, answered in the channel; what
        // came before commanded nothing.
        const auto fromThePlayer = [](const QByteArray &line) {
            return line.startsWith(":ceo-player!") && (line.contains(" PRIVMSG #music :") || line.contains(" NOTICE "));
        };
        const QByteArray mp3Count = "PRIVMSG #music :" + inIrc("<b>mp3 count </b>1");
        boss.send("PRIVMSG ceo-player :.mp3s?");
        QVERIFY(boss.waitFor(fromThePlayer).endsWith(mp3Count));
        QVERIFY(player.out().contains("boss:\t<i>(privately)</i> .mp3s?\n"));

        // CTCP, asked privately or in the channel, is answered to the asker, once.
        boss.send("PRIVMSG ceo-player :\x01VERSION\x01");
        const QByteArray version = boss.waitFor(fromThePlayer);
        QVERIFY2(version.contains(" NOTICE boss :\x01VERSION dun2 ") && version.endsWith('\x01'), version);
        boss.send("PRIVMSG ceo-player :.mp3s?");
        QVERIFY(boss.waitFor(fromThePlayer).endsWith(mp3Count));
        op.say("#music", "\x01PING 12345 x\x01");
        QVERIFY(op.waitFor("NOTICE op :\x01PING 12345 x\x01").startsWith(":ceo-player!"));
        // A flood gets a few answers, and a CTCP that looks like a command
        // is none: the next thing the player says in the channel answers
        // the line after them.
        QElapsedTimer flood;
        flood.start();
        for (int i = 0; i < 50; ++i)
            boss.send("PRIVMSG ceo-player :\x01VERSION\x01");
        boss.send("PRIVMSG ceo-player :\x01.vol 5\x01");
        boss.send("PRIVMSG ceo-player :.mp3s?");
        qint64 answers = 0;
        QByteArray line;
        while (!(line = boss.waitFor(fromThePlayer)).contains(" PRIVMSG ")) {
            QVERIFY(line.contains(" NOTICE boss :\x01VERSION "));
            ++answers;
        }
        QVERIFY(line.endsWith(mp3Count));
        QVERIFY2(answers <= 1 + flood.elapsed() / IrcCtcp::PerSenderMs, QByteArray::number(answers));
    }
};

DUN2_TEST(IrcLifeAppTest);
#include "tst_irclife.moc"
