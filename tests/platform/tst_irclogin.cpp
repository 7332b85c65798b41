// The SASL login as the session lives it, on a scripted server: no real
// server here sends a login's answers outside the exchange, welcomes a
// client that asked for SASL without it, or refuses on a later link a
// login it took before, on purpose. And the settings' word on a password
// over a plain link.
#include "platform/irc/ircsession.h"
#include "platform/irc/ircsettings.h"
#include "support/scriptedircserver.h"
#include "support/testregistry.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {

const QString Channel = QStringLiteral("#music");

// Takes the session through CAP to its AUTHENTICATE PLAIN; `offer` is the
// server's capability list.
bool askForPlain(ScriptedServer &server, const QByteArray &offer = "sasl=PLAIN")
{
    if (server.waitFor("CAP LS").isEmpty())
        return false;
    server.send(":irc.test CAP * LS :" + offer + "\r\n");
    if (!offer.contains("sasl"))
        return true;
    if (server.waitFor("CAP REQ").isEmpty())
        return false;
    server.send(":irc.test CAP ceo ACK :sasl\r\n");
    return !server.waitFor("AUTHENTICATE PLAIN").isEmpty();
}

// Logs "ceo" in with the password "pw" and joins it to the channel.
bool logInAndJoin(ScriptedServer &server)
{
    if (!askForPlain(server))
        return false;
    // 908 only lists the mechanisms taken; it refuses nothing.
    server.send(":irc.test 908 ceo PLAIN :are available SASL mechanisms\r\nAUTHENTICATE +\r\n");
    if (server.waitFor("AUTHENTICATE Y2VvAGNlbwBwdw==").isEmpty())
        return false;
    server.send(":irc.test 900 ceo ceo!u@h ceo :You are now logged in as ceo\r\n"
                ":irc.test 903 ceo :SASL authentication successful\r\n");
    if (server.waitFor("CAP END").isEmpty())
        return false;
    server.send(":irc.test 001 ceo :Welcome\r\n:irc.test 376 ceo :End of MOTD\r\n");
    if (server.waitFor("JOIN #music").isEmpty())
        return false;
    server.send(":ceo!u@h JOIN #music\r\n");
    return true;
}

} // namespace

class IrcLoginTest : public QObject
{
    Q_OBJECT

private slots:
    // Once in, a login's answers answer nothing; once a login has worked, a
    // later link's refusal, a welcome before the login or no SASL at all is
    // the network's passing trouble, retried until the login works again.
    void aLoginThatWorkedIsRetried()
    {
        ScriptedServer server;
        IrcSession session({"127.0.0.1", server.port(), false}, {"ceo", "pw"}, Channel);
        session.setTimings({.firstRetryMs = 100, .paceStepMs = 10});
        QSignalSpy failed(&session, &IrcSession::failed);
        QSignalSpy joined(&session, &IrcSession::joined);
        QSignalSpy lines(&session, &IrcSession::channelLine);
        QSignalSpy statuses(&session, &IrcSession::statusChanged);
        session.start();
        QVERIFY(logInAndJoin(server));
        QVERIFY(joined.wait());
        server.send(":irc.test 904 ceo :failed\r\n:irc.test 902 ceo :locked\r\n:irc.test 905 ceo :long\r\n"
                    ":irc.test 906 ceo :aborted\r\n:irc.test 908 ceo PLAIN :mechanisms\r\n"
                    ":a!b@c PRIVMSG #music :still here\r\n");
        QVERIFY(lines.wait());
        QVERIFY(failed.isEmpty() && session.inChannel());

        const struct {
            QByteArray offer, answer, status;
        } later[] = {
            {"sasl=PLAIN", ":irc.test 904 ceo :SASL authentication failed\r\n",
             "can't log in (SASL login refused: SASL authentication failed (904)); retrying in"},
            {"sasl=PLAIN", ":irc.test 001 ceo :Welcome\r\n",
             "can't log in (the server let us in before the SASL login was done); retrying in"},
            {"echo-message", "", "can't log in (the server offers no SASL login, and a password was given); retrying in"},
        };
        for (const auto &link : later) {
            statuses.clear();
            server.drop();
            QVERIFY(askForPlain(server, link.offer));
            server.send(link.answer);
            QTRY_VERIFY2(std::any_of(statuses.begin(), statuses.end(),
                                     [&](const QList<QVariant> &s) { return s[0].toString().startsWith(link.status); }),
                         link.status);
        }
        server.drop();
        QVERIFY(logInAndJoin(server));
        QTRY_COMPARE(joined.size(), 2);
        QVERIFY(failed.isEmpty());
    }

    // On the first link a refusal may be a wrong password: the session
    // stops, and a welcome before the login never takes it in.
    void aWelcomeBeforeTheLoginIsARefusal()
    {
        ScriptedServer server;
        IrcSession session({"127.0.0.1", server.port(), false}, {"ceo", "pw"}, Channel);
        QSignalSpy failed(&session, &IrcSession::failed);
        QSignalSpy registered(&session, &IrcSession::registered);
        session.start();
        QVERIFY(askForPlain(server));
        server.send(":irc.test 001 ceo :Welcome\r\n:irc.test 376 ceo :End of MOTD\r\n");
        QVERIFY(failed.wait());
        QCOMPARE(failed.first().first().toString(), QString("the server let us in before the SASL login was done"));
        QCOMPARE(registered.size(), 0);
    }

    // A password crosses a plain link only when the user says it may, on
    // the command line or in irc.ini.
    void aPasswordInClearIsAskedFor()
    {
        QTemporaryDir yes, maybe, bare;
        for (const auto &[dir, answer] : {std::pair{&yes, "Yes"}, std::pair{&maybe, "maybe"}}) {
            QFile ini(dir->filePath("irc.ini"));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write(QByteArray("[irc]\r\nallow plain password=") + answer + "\r\n");
        }
        const struct {
            const QTemporaryDir *home;
            const char *url, *password;
            bool allow;
            const char *expected; // the password, or a part of the problem
        } cases[] = {
            {&bare, "irc://h/#a", "pw", false, "readable by anyone on the way: use an ircs:// address, or"
                                               " --irc-allow-plain-password"},
            {&bare, "irc://h/#a", "pw", true, "pw"},
            {&yes, "irc://h/#a", "pw", false, "pw"},
            {&maybe, "irc://h/#a", "pw", false, "allow plain password is yes or no"},
            {&maybe, "ircs://h/#a", "pw", false, "pw"},
            {&maybe, "irc://h/#a", "", false, ""},
            {&bare, nullptr, "", true, "give --irc URL too"},
        };
        for (const auto &c : cases) {
            IrcOptions given;
            if (c.url)
                given.address = c.url;
            given.allowPlainPassword = c.allow;
            IrcSettings s;
            const QString problem = ResolveIrcSettings(given, c.home->path(), "login", c.password, s);
            const QString got = problem.isEmpty() ? s.password : problem;
            QVERIFY2(problem.isEmpty() ? got == c.expected : got.contains(c.expected), qPrintable(got));
        }
    }
};

DUN2_TEST(IrcLoginTest);
#include "tst_irclogin.moc"
