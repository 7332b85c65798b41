// The program leaving a real channel by each of its ways out: what it still
// had to say arrives, then its QUIT, as a participant reads them.
#include "ircplayer.h"
#include "platform/irc/ircpacer.h"
#include "support/files.h"
#include "support/testregistry.h"

#include <csignal>
#include <functional>

class IrcLeavingTest : public QObject
{
    Q_OBJECT

private slots:
    void everyWayOutSaysGoodbyeAndSendsWhatIsQueued()
    {
        IrcStage stage(TestIrcServer::Kind::Ngircd);
        QVERIFY(stage.start({}));
        RawIrcClient boss(stage.server, {.nick = "boss"});
        QVERIFY(inMusic(boss));
        struct WayOut {
            QByteArray reason;
            int exitCode;
            std::function<void(Program &)> take;
        };
        const WayOut ways[] = {
            {"exit", 0, [&boss](Program &) { boss.say("#music", ".exit"); }},
            {"terminated", 128 + SIGTERM, [](Program &player) { ::kill(pid_t(player.pid()), SIGTERM); }},
            {"interrupted", 128 + SIGINT, [](Program &player) { ::kill(pid_t(player.pid()), SIGINT); }},
            // More than the pacer's burst: the rest is still queued at the end.
            {"end of input", 0, [](Program &player) {
                 for (int i = 1; i <= 8; ++i)
                     player.type("typed line " + QByteArray::number(i));
                 player.endInput();
             }},
        };
        for (const WayOut &way : ways) {
            Program player = stage.player();
            QVERIFY(player.saidOnError("in #music"));
            QVERIFY(!boss.waitFor([](const QByteArray &line) {
                             return line.startsWith(":ceo-player!") && line.contains(" JOIN ");
                         }).isEmpty());
            const bool typed = way.reason == "end of input";
            // Joining took the pacer's burst. It is whole again once the player
            // has sent nothing for the pacer's lead: a wait of the pacer's own
            // measure, the same on any machine.
            if (typed)
                QTest::qWait(int(IrcPacer::AheadMs + IrcPacer::StepMs));
            way.take(player);
            if (typed)
                for (int i = 1; i <= 8; ++i)
                    QVERIFY2(heard(boss, "typed line " + QByteArray::number(i)), player.errors());
            QVERIFY2(heard(boss, inIrc(QString::fromUtf8("Ðûñ² unløªded "))), way.reason + player.errors());
            const QByteArray quit = boss.waitFor(" QUIT ");
            QVERIFY2(quit.startsWith(":ceo-player!") && quit.contains(way.reason), quit);
            QCOMPARE(player.exitCode(), way.exitCode);
        }
    }

    // A server that asks every client for a password: the program gives it
    // from the environment or a file, says which when both are given, keeps
    // it out of /proc, and says why the server sends it away without it or
    // with a wrong one.
    void aServerPasswordGoesBeforeRegistering()
    {
        IrcStage stage(TestIrcServer::Kind::Ngircd);
        stage.server.setPassword("open sesame");
        QVERIFY(stage.start({}));
        const QString right = stage.home.filePath("right"), wrong = stage.home.filePath("wrong");
        QVERIFY(writeFile(right, "open sesame\n") && writeFile(wrong, "guess\n"));
        const QStringList plain{"--irc-allow-plain-password"};
        const struct {
            QStringList arguments;
            QStringList environment;
            QByteArray said;
            bool joins;
        } cases[] = {
            {{}, {}, "link lost (Access denied: Bad password?)", false},
            {plain + QStringList{"--irc-server-password-file", wrong}, {}, "link lost (Access denied: Bad password?)", false},
            {plain + QStringList{"--irc-server-password-file", right}, {}, "registering as ceo", true},
            {plain + QStringList{"--irc-server-password-file", wrong}, {"DUN2_IRC_SERVER_PASSWORD=open sesame"},
             "DUN2_IRC_SERVER_PASSWORD is used; the server password file " + wrong.toUtf8() + " is not read", true},
        };
        for (const auto &c : cases) {
            Program player = stage.player(QStringList{"--screen-name", "ceo"} + c.arguments, c.environment);
            QVERIFY2(player.saidOnError(c.said), player.errors());
            if (!c.joins)
                continue;
            QVERIFY2(player.saidOnError("in #music"), player.errors());
            const QByteArray environment = contents(QStringLiteral("/proc/%1/environ").arg(player.pid()));
            QVERIFY(environment.contains("HOME=") && !environment.contains("DUN2_IRC_SERVER_PASSWORD"));
        }
        // Over a plain link only when the user says so, as the SASL password.
        Program unasked = stage.player({"--screen-name", "ceo", "--irc-server-password-file", right});
        QVERIFY2(unasked.saidOnError("a password on a plain irc:// link"), unasked.errors());
        QCOMPARE(unasked.exitCode(), 1);
    }
};

DUN2_TEST(IrcLeavingTest);
#include "tst_ircleaving.moc"
