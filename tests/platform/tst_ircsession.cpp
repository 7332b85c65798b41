#include "platform/chatclient.h"
#include "platform/irc/ircroom.h"
#include "platform/irc/ircsession.h"
#include "support/scriptedircserver.h"
#include "support/testregistry.h"

#include <QSignalSpy>
#include <QTest>

namespace {

struct Said {
    QString nick, text;
    bool action, own;
    bool operator==(const Said &) const = default;
};

QList<Said> said(const QSignalSpy &spy)
{
    QList<Said> lines;
    for (const QList<QVariant> &args : spy)
        lines.append({args[0].toString(), args[1].toString(), args[2].toBool(), args[4].toBool()});
    return lines;
}

QStringList accounts(const QSignalSpy &spy)
{
    QStringList found;
    for (const QList<QVariant> &args : spy)
        found << args[3].toString();
    return found;
}

} // namespace

class IrcSessionTest : public QObject
{
    Q_OBJECT

private slots:
    // A server that sends what no real one does (an endless line is the
    // reader's test): CTCP without its closing mark, lines for others. (The
    // line gate holding lines but not PING is the stall test's.)
    void hostileServer()
    {
        ScriptedServer server;
        IrcSession session({"127.0.0.1", server.port(), false}, {"ceo"}, "#music");
        QSignalSpy lines(&session, &IrcSession::channelLine);
        QSignalSpy joined(&session, &IrcSession::joined);
        session.start();
        QVERIFY(server.welcome());
        QVERIFY(joined.wait());
        QVERIFY(session.say("hi\r\nQUIT :gone"));
        QCOMPARE(server.waitFor("PRIVMSG"), QByteArray("PRIVMSG #music :hi  QUIT :gone"));
        // Shown as said once the server answers past it.
        const QByteArray ping = server.waitFor("PING");
        server.send(":irc.test PONG irc.test " + ping.mid(5) + "\r\n");
        QTRY_COMPARE(said(lines), (QList<Said>{{"ceo", "hi  QUIT :gone", false, true}}));
        lines.clear();
        server.send(":a!b@c PRIVMSG #music :one\r\n:a!b@c PRIVMSG #music :\x01" "ACTION waves\r\n"
                    ":a!b@c PRIVMSG #music :\x01VERSION\x01\r\n:a!b@c PRIVMSG ceo :private\r\n:a!b@c PRIVMSG #MUSIC :two\r\n");
        QTRY_COMPARE(said(lines), (QList<Said>{{"a", "one", false, false}, {"a", "waves", true, false},
                                               {"a", "two", false, false}}));
        // A crowd coming and going leaves nothing behind but its lines.
        QByteArray crowd;
        for (int i = 0; i < 1000; ++i) {
            const QByteArray source = ":n" + QByteArray::number(i) + "!u@h ";
            crowd += source + "JOIN #music\r\n" + source + "PRIVMSG #music :\x02\x03" "4,5hi\x0f\r\n" + source + "PART #music\r\n";
        }
        server.send(crowd);
        QTRY_COMPARE(lines.size(), 1003);
        QCOMPARE(said(lines).last(), (Said{"n999", "\x02\x03" "4,5hi\x0f", false, false}));
        QVERIFY(session.inChannel());
    }

    // A server that withdraws account-tag and offers it again, as a real
    // one does only when its operator unloads the module (the test servers
    // have no operator). Only what the session reads is asked for; while the
    // tag is withdrawn no line is vouched for, not even by what the joins
    // told, and the room says why.
    void withdrawnAccountTagVouchesForNobody()
    {
        ScriptedServer server;
        IrcSession session({"127.0.0.1", server.port(), false}, {"ceo-player"}, "#music");
        Desktop desktop;
        ChatClient client(desktop, "boss");
        IrcRoom room(client, session, {"boss", "boss"});
        QSignalSpy lines(&session, &IrcSession::channelLine);
        session.start();
        QVERIFY(server.play({{"CAP LS", ":irc.test CAP * LS :message-tags account-tag extended-join account-notify chghost"
                                         " server-time batch away-notify\r\n"}}));
        const QByteArray used = "account-tag extended-join account-notify chghost server-time batch";
        QCOMPARE(server.waitFor("CAP REQ"), "CAP REQ :" + used);
        server.send(":irc.test CAP ceo-player ACK :" + used + "\r\n");
        QVERIFY(server.play({{"CAP END", ":irc.test 001 ceo-player :Hi\r\n:irc.test 376 ceo-player :End\r\n"},
                             {"JOIN", ":ceo-player!u@h JOIN #music * :P\r\n:boss!u@h JOIN #music boss :B\r\n"
                                      "@account=boss :boss!u@h PRIVMSG #music :one\r\n"
                                      ":irc.test CAP ceo-player DEL :account-tag\r\n:boss!u@h PRIVMSG #music :two\r\n"}}));
        QTRY_COMPARE(accounts(lines), (QStringList{"boss", ""}));
        QVERIFY2(client.status().endsWith("so boss's lines command nothing until it does again"), qPrintable(client.status()));
        server.send(":irc.test CAP ceo-player NEW :account-tag\r\n");
        QCOMPARE(server.waitFor("CAP REQ"), QByteArray("CAP REQ account-tag"));
        server.send(":irc.test CAP ceo-player ACK :account-tag\r\n@account=boss :boss!u@h PRIVMSG #music :three\r\n");
        QTRY_COMPARE(accounts(lines), (QStringList{"boss", "", "boss"}));
        QCOMPARE(client.status(), QString("in #music as ceo-player"));
    }

    // A bouncer's playback: older than the join by the server's clock, or
    // in a batch of history; inspircd's replay (the program's test) always
    // comes in a batch, so the times are played here.
    void playbackIsEarlier()
    {
        ScriptedServer server;
        IrcSession session({"127.0.0.1", server.port(), false}, {"ceo"}, "#music");
        QSignalSpy lines(&session, &IrcSession::channelLine);
        session.start();
        QVERIFY(server.play({{"CAP LS", ":b CAP * LS :server-time batch\r\n"},
                             {"CAP REQ", ":b CAP ceo ACK :server-time batch\r\n:b 001 ceo :Hi\r\n:b 422 ceo :No MOTD\r\n"},
                             {"JOIN", "@time=2026-01-01T10:00:00.500Z :ceo!u@h JOIN #music\r\n"
                                      "@time=2026-01-01T10:00:00.499Z :ceo!u@h PRIVMSG #music :.exit\r\n"
                                      ":b BATCH +p znc.in/playback #music\r\n@batch=p :a!u@h PRIVMSG #music :played back\r\n"
                                      ":b BATCH -p\r\n@batch=p :a!u@h PRIVMSG #music :in no batch kept\r\n"
                                      "@time=2026-01-01T10:00:00.500Z :a!u@h PRIVMSG #music :now\r\n"}}));
        QTRY_COMPARE(lines.size(), 4);
        QList<bool> earlier;
        for (const QList<QVariant> &args : std::as_const(lines))
            earlier << args[5].toBool();
        QCOMPARE(earlier, (QList<bool>{true, true, true, false}));
    }
};

DUN2_TEST(IrcSessionTest);
#include "tst_ircsession.moc"
