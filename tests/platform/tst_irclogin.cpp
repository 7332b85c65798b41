// The SASL login as the session lives it, on a scripted server: no real
// server here sends a login's answers outside the exchange, welcomes a
// client that asked for SASL without it, or refuses on a later link a
// login it took before, on purpose. And the settings' word on a password
// over a plain link.
#include "ircsessiontesting.h"
#include "platform/irc/ircsession.h"
#include "platform/irc/ircsettings.h"
#include "support/files.h"
#include "support/scriptedircserver.h"
#include "support/testregistry.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Script = std::vector<std::pair<QByteArray, QByteArray>>;

const Script OfferSasl = {{"CAP LS", ":irc.test CAP * LS :sasl=PLAIN\r\n"},
                          {"CAP REQ", ":irc.test CAP ceo ACK :sasl\r\n"}};
// "ceo" logged in with the password "pw" and in the channel; 908 only lists
// the mechanisms taken, it refuses nothing.
const Script LogInAndJoin = {
    {"AUTHENTICATE PLAIN", ":irc.test 908 ceo PLAIN :are available SASL mechanisms\r\nAUTHENTICATE +\r\n"},
    {"AUTHENTICATE Y2VvAGNlbwBwdw==", ":irc.test 900 ceo ceo!u@h ceo :Logged in\r\n:irc.test 903 ceo :Done\r\n"},
    {"CAP END", ":irc.test 001 ceo :Welcome\r\n:irc.test 376 ceo :End of MOTD\r\n"},
    {"JOIN #music", ":ceo!u@h JOIN #music\r\n"}};

} // namespace

class IrcLoginTest : public QObject
{
    Q_OBJECT

private slots:
    // Once in, a login's answers answer nothing; once a login has worked, a
    // later link's refusal or a welcome before the login is the network's
    // passing trouble, retried until the login works again. (A network
    // without SASL for a while is the program's test, on a real one.)
    void aLoginThatWorkedIsRetried()
    {
        ScriptedServer server;
        IrcSession session({"127.0.0.1", server.port(), false}, {"ceo", "pw"}, "#music");
        session.setTimings({.firstRetryMs = 100, .paceStepMs = 10});
        QSignalSpy failed(&session, &IrcSession::failed);
        QSignalSpy joined(&session, &IrcSession::joined);
        QSignalSpy lines(&session, &IrcSession::channelLine);
        QSignalSpy statuses(&session, &IrcSession::statusChanged);
        session.start();
        QVERIFY(server.play(OfferSasl) && server.play(LogInAndJoin));
        QVERIFY(joined.wait());
        server.send(":irc.test 904 ceo :failed\r\n:irc.test 902 ceo :locked\r\n:irc.test 905 ceo :long\r\n"
                    ":irc.test 906 ceo :aborted\r\n:irc.test 908 ceo PLAIN :mechanisms\r\n"
                    ":a!b@c PRIVMSG #music :still here\r\n");
        QVERIFY(lines.wait());
        QVERIFY(failed.isEmpty() && session.inChannel());

        const std::pair<Script, QString> later[] = {
            {{{"AUTHENTICATE PLAIN", ":irc.test 904 ceo :SASL authentication failed\r\n"}},
             "SASL login refused: SASL authentication failed (904)"},
            {{{"AUTHENTICATE PLAIN", ":irc.test 001 ceo :Welcome\r\n"}},
             "the server let us in before the SASL login was done"},
        };
        for (const auto &[script, why] : later) {
            statuses.clear();
            server.drop();
            QVERIFY(server.play(OfferSasl) && server.play(script));
            const QString status = "can't log in (" + why + "); retrying in";
            QTRY_VERIFY2(saw(statuses, status), qPrintable(status));
        }
        server.drop();
        QVERIFY(server.play(OfferSasl) && server.play(LogInAndJoin));
        QTRY_COMPARE(joined.size(), 2);
        QVERIFY(failed.isEmpty());
    }

    // On the first link a refusal may be a wrong password: the session
    // stops, and a welcome before the login never takes it in.
    void aWelcomeBeforeTheLoginIsARefusal()
    {
        ScriptedServer server;
        IrcSession session({"127.0.0.1", server.port(), false}, {"ceo", "pw"}, "#music");
        QSignalSpy failed(&session, &IrcSession::failed);
        QSignalSpy registered(&session, &IrcSession::registered);
        session.start();
        QVERIFY(server.play(OfferSasl));
        QVERIFY(server.play({{"AUTHENTICATE PLAIN", ":irc.test 001 ceo :Welcome\r\n:irc.test 376 ceo :MOTD\r\n"}}));
        QVERIFY(failed.wait());
        QCOMPARE(failed.first().first().toString(), QString("the server let us in before the SASL login was done"));
        QCOMPARE(registered.size(), 0);
    }

    // A password crosses a plain link only when the user says it may, on
    // the command line or in irc.ini.
    void aPasswordInClearIsAskedFor()
    {
        QTemporaryDir home;
        // irc.ini's answer, the address, the option; the password, or a part of the problem.
        const struct {
            const char *answer, *url;
            bool allow;
            const char *expected;
        } cases[] = {
            {"", "irc://h/#a", false, "readable by anyone on the way: use an ircs:// address, or"
                                      " --irc-allow-plain-password"},
            {"", "irc://h/#a", true, "pw"},
            {"Yes", "irc://h/#a", false, "pw"},
            {"maybe", "irc://h/#a", false, "allow plain password is yes or no"},
            {"maybe", "ircs://h/#a", false, "pw"},
            {"", nullptr, true, "give --irc URL too"},
        };
        for (const auto &c : cases) {
            QVERIFY(writeFile(home.filePath("irc.ini"), QByteArray("[irc]\r\nallow plain password=") + c.answer + "\r\n"));
            IrcOptions given;
            if (c.url)
                given.address = c.url;
            given.allowPlainPassword = c.allow;
            IrcSettings s;
            const QString problem = ResolveIrcSettings(given, home.path(), "login", {"pw"}, s);
            QVERIFY2(problem.isEmpty() ? s.password == c.expected : problem.contains(c.expected), qPrintable(problem));
        }
    }
};

DUN2_TEST(IrcLoginTest);
#include "tst_irclogin.moc"
