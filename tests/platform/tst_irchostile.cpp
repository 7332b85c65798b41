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
        const QByteArray huge(4000, 'x');
        const struct {
            const char *why;
            QByteArray offer;  // the capabilities offered
            QByteArray flood;  // one line, sent numbered, once joined; none: an endless list
        } cases[] = {
            {"offered more capabilities than fit in 32 KB", "", ""},
            {"named more members' accounts than fit in 5 MB", "extended-join", ":" + huge + "%1!u@h JOIN #music " + huge + " :r\r\n"},
        };
        for (const auto &c : cases) {
            ScriptedServer server;
            IrcSession session({"127.0.0.1", server.port(), false}, {"ceo"}, "#music");
            session.setTimings({.firstRetryMs = 100});
            QSignalSpy lines(&session, &IrcSession::channelLine);
            session.start();
            QVERIFY(!server.waitFor("CAP LS").isEmpty());
            if (c.flood.isEmpty()) {
                for (int i = 0; i < 300; ++i)
                    server.send(":irc.test CAP * LS * :" + QByteArray("cap-").repeated(1000) + "\r\n");
            } else {
                server.send(":irc.test CAP * LS :" + c.offer + "\r\n");
                QCOMPARE(server.waitFor("CAP REQ"), "CAP REQ " + c.offer);
                server.send(":irc.test CAP ceo ACK :" + c.offer + "\r\n");
                QVERIFY(!server.waitFor("CAP END").isEmpty());
                server.send(":irc.test 001 ceo :Welcome\r\n:irc.test 376 ceo :End\r\n");
                QVERIFY(!server.waitFor("JOIN #music").isEmpty());
                server.send(":ceo!~u@test JOIN #music * :r\r\n");
                // Half the cap is kept, and counted.
                for (int i = 0; i < 150; ++i)
                    server.send(QString::fromLatin1(c.flood).arg(i).toLatin1());
                server.send(":a!b@c PRIVMSG #music :still here\r\n");
                QTRY_COMPARE(lines.size(), 1);
                QVERIFY(session.inChannel());
                QVERIFY(session.heldBytes() > 150 * 4 * huge.size() && session.heldBytes() <= IrcSession::MaxHeldBytes);
                for (int i = 150; i < 1000; ++i)
                    server.send(QString::fromLatin1(c.flood).arg(i).toLatin1());
            }
            QTRY_VERIFY2(session.status().contains(c.why), qPrintable(session.status()));
            QVERIFY(session.status().startsWith("link lost (the server ") && session.status().contains("retrying in"));
            QVERIFY(!server.waitFor("CAP LS").isEmpty());
            QVERIFY(session.heldBytes() < 1024);
        }
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
