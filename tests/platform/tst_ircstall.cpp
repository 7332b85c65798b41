#include "ircsessiontesting.h"
#include "platform/irc/ircsession.h"
#include "platform/nestedloop.h"
#include "support/ircservers.h"
#include "support/rawircclient.h"
#include "support/scriptedircserver.h"
#include "support/testregistry.h"

#include <QSignalSpy>
#include <QTest>

class IrcStallTest : public QObject
{
    Q_OBJECT

private slots:
    // Scripted: a burst of 600 channel lines at once (more than one read
    // takes, so the PING behind them needs another), which a real server's
    // flood limits would spread over minutes. While the waits keep the
    // listeners from lines, PING is answered, a lost link is replaced and
    // joined again; the old link's lines are dropped, and said to be.
    void protocolGoesOnWhileTheListenersWait()
    {
        ScriptedServer server;
        IrcSession session({"127.0.0.1", server.port(), false}, {"ceo"}, "#music");
        // The only silence of the link is the one the test leaves after the burst.
        session.setTimings({.probeAfterMs = 2000, .dropAfterMs = 300, .firstRetryMs = 100, .paceStepMs = 0});
        QSignalSpy lines(&session, &IrcSession::channelLine);
        QSignalSpy joined(&session, &IrcSession::joined);
        QSignalSpy left(&session, &IrcSession::left);
        QSignalSpy statuses(&session, &IrcSession::statusChanged);
        session.start();
        QVERIFY(server.welcome());
        QVERIFY(joined.wait());
        {
            NestedLoop shut;
            shut.ending();
            QByteArray burst;
            for (int i = 0; i < 600; ++i)
                burst += ":boss!b@c PRIVMSG #music :.scroll " + QByteArray::number(i) + "\r\n";
            server.send(burst + "PING :alive\r\n");
            QCOMPARE(server.waitFor("PONG"), QByteArray("PONG alive"));
            QCOMPARE(server.waitFor("PING"), QByteArray("PING dun2"));
            QTRY_VERIFY(saw(statuses, "link lost (no answer from the server for 1 s)"));
            session.setTimings({.paceStepMs = 0});
            QVERIFY(server.welcome());
            QTRY_VERIFY(session.inChannel());
            // Read in order: once PING is answered, the line before it is in.
            server.send(":boss!b@c PRIVMSG #music :.mp3s?\r\nPING :read\r\n");
            QCOMPARE(server.waitFor("PONG"), QByteArray("PONG read"));
            QCOMPARE(lines.size(), 0);
        }
        QTRY_COMPARE(lines.size(), 1);
        QCOMPARE(lines.first().at(1).toString(), QString(".mp3s?"));
        QCOMPARE(left.size(), 1);
        QCOMPARE(joined.size(), 2);
        QVERIFY(saw(statuses, "in #music as ceo; 600 lines of #music skipped"));
    }

    // Scripted: no real server withholds its welcome or the MOTD's end, or
    // ignores a JOIN, and the servers here refuse a join only with the
    // numerics handled all along (ngircd answers +z and +O with 471, and
    // inspircd runs no module that sends the others), and none floods
    // PINGs. Registration and joining each have a deadline, then a retry.
    // Kicked, the player finds the channel refusing it in every way a
    // network may; each time it comes back. A flood of PINGs gets the
    // newest answered ahead of the paced lines.
    void joiningIsRetriedAndPongGoesFirst()
    {
        ScriptedServer server;
        IrcSession session({"127.0.0.1", server.port(), false}, {"ceo"}, "#music");
        session.setTimings({.firstRetryMs = 100, .maxRetryMs = 200, .kickRejoinMs = 100, .paceStepMs = 0,
                            .registerMs = 500, .motdWaitMs = 300, .joinAnswerMs = 300});
        QSignalSpy statuses(&session, &IrcSession::statusChanged);
        session.start();
        QVERIFY(!server.waitFor("CAP LS").isEmpty());
        // Alive, answering PINGs, and never a welcome.
        server.send(":irc.test CAP * LS :\r\nPING :one\r\n");
        QCOMPARE(server.waitFor("PONG"), QByteArray("PONG one"));
        QVERIFY(!server.waitFor("CAP LS").isEmpty());
        QVERIFY(saw(statuses, "link lost (not welcomed within 1 s)"));

        server.send(":irc.test CAP * LS :\r\n:irc.test 001 ceo :Welcome\r\n");
        QCOMPARE(server.waitFor("JOIN"), QByteArray("JOIN #music"));
        QCOMPARE(server.waitFor("JOIN"), QByteArray("JOIN #music"));
        QVERIFY(saw(statuses, "can't join #music: no answer from the server"));
        server.send(":ceo!~u@test JOIN #music\r\n");
        QTRY_VERIFY(session.inChannel());
        const struct {
            QByteArray refusal;
            QString why;
        } cases[] = {
            {"489 ceo #music :Cannot join channel; SSL users only (+z)", "needs a secure connection (489)"},
            {"405 ceo #music :You are on too many channels", "in too many channels (405)"},
            {"437 ceo #music :Channel is temporarily unavailable", "the channel is unavailable for now (437)"},
            {"470 ceo #music ##overflow :Forwarding to another channel", "forwarded elsewhere (470)"},
            {"480 ceo #music :Cannot join channel (+j)", "the channel refuses this connection (480)"},
            {"520 ceo #music :Cannot join channel (+O)", "for operators only (520)"},
        };
        for (const auto &refused : cases) {
            server.send(":boss!b@c KICK #music ceo :out\r\n");
            QCOMPARE(server.waitFor("JOIN"), QByteArray("JOIN #music"));
            server.send(":irc.test " + refused.refusal + "\r\n");
            QCOMPARE(server.waitFor("JOIN"), QByteArray("JOIN #music"));
            QVERIFY2(saw(statuses, "can't join #music: " + refused.why), qPrintable(refused.why));
            server.send(":ceo!~u@test JOIN #music\r\n");
            QTRY_VERIFY(session.inChannel());
        }

        session.setTimings({.paceStepMs = 200});
        QByteArray flood;
        for (int i = 0; i < 1300; ++i)
            flood += "PING :" + QByteArray::number(i) + "\r\n";
        server.send(flood);
        QCOMPARE(server.waitFor("PONG 1299"), QByteArray("PONG 1299"));
        QVERIFY(session.say("after"));
        QCOMPARE(server.waitFor(""), QByteArray("PRIVMSG #music after"));
    }

    // On ngircd, which echoes nothing: a line of ours is shown once it is
    // written, and those the kick kept in the queue are said to be lost.
    void shownMeansSent()
    {
        TestIrcServer server(TestIrcServer::Kind::Ngircd);
        QVERIFY(server.start());
        RawIrcClient op(server, {.nick = "op"});
        QVERIFY(op.signOn() && op.join("#music"));
        IrcSession session({server.host(), server.port(), false}, {"ceo"}, "#music");
        session.setTimings({.paceStepMs = 0});
        QSignalSpy lines(&session, &IrcSession::channelLine);
        QSignalSpy left(&session, &IrcSession::left);
        session.start();
        QTRY_VERIFY_WITH_TIMEOUT(session.inChannel(), 15000);
        // One line at once, the next ten seconds later: far behind the kick.
        session.setTimings({.paceStepMs = IrcPacer::AheadMs - 1});
        for (int i = 1; i <= 12; ++i)
            QVERIFY(session.say(QStringLiteral("mp3 count %1").arg(i)));
        QVERIFY(!op.waitFor("PRIVMSG #music :mp3 count 1").isEmpty());
        op.send("KICK #music ceo :out");
        QVERIFY(left.wait());
        QCOMPARE(left.first().first().toString(), QString("kicked from #music by op (out); 11 lines of ours not delivered"));
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines.first().at(1).toString(), QString("mp3 count 1"));
    }
};

DUN2_TEST(IrcStallTest);
#include "tst_ircstall.moc"
