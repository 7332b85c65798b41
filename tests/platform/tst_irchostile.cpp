#include "ircsessiontesting.h"
#include "platform/irc/ircsession.h"
#include "support/ircservers.h"
#include "support/rawircclient.h"
#include "support/scriptedircserver.h"
#include "support/testregistry.h"

#include <QSignalSpy>
#include <QTest>

// What a server, or a participant through it, sends to wear the session
// down or to hide a line from it.
class IrcHostileTest : public QObject
{
    Q_OBJECT

private slots:
    // Scripted: no real server sends capability lists without end or
    // members with 4 KB nicks and accounts (their nick limits stop them).
    // A server that makes the session keep more than any real one would is
    // dropped and tried again later; short of that, it is not.
    void overfilledCachesDropTheLink()
    {
        ScriptedServer server;
        IrcSession session({"127.0.0.1", server.port(), false}, {"ceo"}, "#music");
        session.setTimings({.firstRetryMs = 100, .paceStepMs = 0});
        QSignalSpy lines(&session, &IrcSession::channelLine);
        QSignalSpy statuses(&session, &IrcSession::statusChanged);
        // The status it was dropped with, then the next link's first line.
        const auto droppedFor = [&](const QString &why) {
            const QString status = "link lost (the server " + why + "); retrying in";
            return QTest::qWaitFor([&] { return saw(statuses, status); }) && !server.waitFor("CAP LS").isEmpty();
        };
        session.start();
        QVERIFY(!server.waitFor("CAP LS").isEmpty());
        for (int i = 0; i < 300; ++i)
            server.send(":irc.test CAP * LS * :" + QByteArray("cap-").repeated(1000) + "\r\n");
        QVERIFY(droppedFor("offered more capabilities than fit in 32 KB"));

        server.send(":irc.test CAP * LS :extended-join\r\n");
        QVERIFY(server.play({{"CAP REQ extended-join", ":irc.test CAP ceo ACK :extended-join\r\n"},
                             {"CAP END", ":irc.test 001 ceo :Welcome\r\n:irc.test 376 ceo :End\r\n"}, {"JOIN #music", ""}}));
        const QByteArray huge(4000, 'x');
        const auto joins = [&](int from, int to) {
            QByteArray all;
            for (int i = from; i < to; ++i)
                all += ":" + huge + QByteArray::number(i) + "!u@h JOIN #music " + huge + " :r\r\n";
            return all;
        };
        // Half the cap is kept, and counted.
        server.send(":ceo!~u@test JOIN #music * :r\r\n" + joins(0, 150) + ":a!b@c PRIVMSG #music :still here\r\n");
        QTRY_COMPARE(lines.size(), 1);
        QVERIFY(session.inChannel());
        QVERIFY(session.heldBytes() > 150 * 4 * huge.size() && session.heldBytes() <= IrcSession::MaxHeldBytes);
        server.send(joins(150, 1000));
        QVERIFY(droppedFor("named more members' accounts than fit in 5 MB"));
        QVERIFY(session.heldBytes() < 1024);
    }

    // On ngircd, which relays the bytes it is sent: a line in Windows-1252
    // to a channel whose name is UTF-8 still reaches its channel.
    void windows1252LineInAUtf8Channel()
    {
        TestIrcServer server(TestIrcServer::Kind::Ngircd);
        QVERIFY(server.start());
        const QString channel = QString::fromUtf8("#mus\xC3\xADk");
        RawIrcClient boss(server, {.nick = "boss"});
        QVERIFY(boss.signOn() && boss.join(channel));
        IrcSession session({server.host(), server.port(), false}, {"ceo"}, channel);
        QSignalSpy lines(&session, &IrcSession::channelLine);
        session.start();
        QTRY_VERIFY_WITH_TIMEOUT(session.inChannel(), 15000);
        boss.send("PRIVMSG #mus\xC3\xADk :caf\xE9 .vol 5");
        QTRY_COMPARE(lines.size(), 1);
        QCOMPARE(lines.first().at(0).toString(), QString("boss"));
        QCOMPARE(lines.first().at(1).toString(), QString::fromUtf8("caf\xC3\xA9 .vol 5"));
    }
};

DUN2_TEST(IrcHostileTest);
#include "tst_irchostile.moc"
