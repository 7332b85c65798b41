// The program as a user runs it on a real IRC network: the player joins a
// channel of a server started for the test, and raw participants say lines
// there and read what arrives.
#include "chat/announcement.h"
#include "platform/irc/ircformat.h"
#include "support/audiofiles.h"
#include "support/ircservers.h"
#include "support/rawircclient.h"
#include "support/testregistry.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The program in its terminal face, its standard input kept open.
class Player
{
public:
    Player(const QString &home, const QStringList &arguments, const QStringList &extraEnvironment = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DUN2_IRC_PASSWORD"})
            environment.remove(name);
        for (const QString &entry : extraEnvironment)
            environment.insert(entry.section('=', 0, 0), entry.section('=', 1));
        m_process.setProcessEnvironment(environment);
        m_process.start(qEnvironmentVariable("DUN2_PROGRAM"), QStringList{"--home", home} + arguments);
    }
    ~Player()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(20000))
            m_process.kill();
    }

    void type(const QByteArray &line) { m_process.write(line + "\n"); }
    // Standard error so far: the link's state and why.
    QByteArray errors()
    {
        m_err += m_process.readAllStandardError();
        return m_err;
    }
    bool saidOnError(const QByteArray &part, int timeoutMs = 15000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!errors().contains(part) && !deadline.hasExpired())
            m_process.waitForReadyRead(100);
        return errors().contains(part);
    }
    QByteArray out()
    {
        m_out += m_process.readAllStandardOutput();
        return m_out;
    }
    int exitCode(int timeoutMs = 20000)
    {
        m_process.closeWriteChannel();
        if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(timeoutMs))
            return -1;
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

private:
    QProcess m_process;
    QByteArray m_out;
    QByteArray m_err;
};

// A home whose track list holds the given names, with a handle, so the
// player starts without asking anything.
void fillHome(const QString &home, const QStringList &tracks)
{
    QFile prefs(home + "/prefs.ini");
    QVERIFY(prefs.open(QIODevice::WriteOnly));
    prefs.write("[info]\r\nmp3 path=" + home.toUtf8() + "\r\nhandle=Ann\r\n");
    for (const QString &track : tracks)
        QVERIFY(QFile(home + "/" + track + ".mp3").open(QIODevice::WriteOnly));
}

QByteArray inIrc(const QString &message)
{
    return IrcFromChatMarkup(StylePieces::initial().styledLine(message)).toUtf8();
}

QByteArray said(const QByteArray &nick, const QByteArray &text)
{
    return nick + " PRIVMSG #music :" + text;
}

// Waits for the player's line in the channel, as a participant reads it.
bool heard(RawIrcClient &participant, const QByteArray &text, int timeoutMs = 15000)
{
    return participant.waitFor([&](const QByteArray &line) { return line.endsWith("PRIVMSG #music :" + text); },
                               timeoutMs)
        .contains(":ceo-player!");
}

} // namespace

class IrcRoomTest : public QObject
{
    Q_OBJECT

private slots:
    // As a player for someone else on ngircd: only the owner commands, in
    // any colour; strangers, lookalike nicks and actions don't; and the room
    // comes back when the server does.
    void theOwnerCommandsAndTheRoomComesBack()
    {
        TestIrcServer server(TestIrcServer::Kind::Ngircd);
        QVERIFY(server.start());
        QTemporaryDir home;
        fillHome(home.path(), {"alpha"});
        Player player(home.path(), {"--screen-name", "ceo-player", "--owner", "boss", "--irc",
                                    QStringLiteral("irc://127.0.0.1:%1/#music").arg(server.port())});
        RawIrcClient boss(server, {.nick = "boss"});
        RawIrcClient eve(server, {.nick = "Boss_"});
        QVERIFY(boss.signOn() && boss.join("#music") && eve.signOn() && eve.join("#music"));
        QVERIFY(boss.waitFor(":ceo-player!").contains("JOIN"));
        QVERIFY(player.saidOnError("in #music"));

        eve.say("#music", ".mp3s?");
        boss.say("#music", "\x01" "ACTION .mp3s?\x01");
        boss.say("#music", "\x02\x03" "04.mp3s?");
        // The exact codes of the program's first styled line.
        QVERIFY(boss.waitFor(":ceo-player!").endsWith(
            "PRIVMSG #music :\x03" "04..\xE2\x80\xBA \x03\x02mp3 count \x02" "1\x03" "04\xE2\x80\xA2\xC2\xB7 \xC2\xB7"));
        QTRY_COMPARE(player.out().count("mp3 count"), 1);

        server.stop();
        QVERIFY(player.saidOnError("retrying in"));
        QVERIFY(server.start());
        RawIrcClient again(server, {.nick = "boss"});
        QVERIFY(again.signOn() && again.join("#music"));
        QVERIFY(!again.waitFor(":ceo-player!", 30000).isEmpty());
        again.say("#music", ".mp3s?");
        QVERIFY(heard(again, inIrc("<b>mp3 count </b>1")));
    }

    // Fifty lines of a scroll arrive whole and in order, paced so that a
    // server which disconnects flooders keeps the player.
    void aLongScrollArrivesWholeWithoutFlooding()
    {
        TestIrcServer server(TestIrcServer::Kind::Inspircd);
        server.setDisconnectFlooders(true);
        QVERIFY(server.start());
        QTemporaryDir home;
        QStringList tracks;
        for (int i = 1; i <= 50; ++i)
            tracks.append(QStringLiteral("song %1").arg(i, 2, 10, QChar('0')));
        fillHome(home.path(), tracks);
        Player player(home.path(), {"--screen-name", "ceo-player", "--owner", "boss", "--irc",
                                    QStringLiteral("irc://127.0.0.1:%1/#music").arg(server.port())});
        RawIrcClient boss(server, {.nick = "boss"});
        QVERIFY(boss.signOn() && boss.join("#music"));
        QVERIFY(!boss.waitFor(":ceo-player!").isEmpty());
        boss.say("#music", ".p song");
        QVERIFY(heard(boss, inIrc("<b>type</b>: view, scroll, rnd, or cancel ")));
        boss.say("#music", ".scroll");
        QVERIFY2(heard(boss, inIrc("<b>p</b> and song to play")), player.out() + player.errors());
        for (int i = 1; i <= 50; ++i)
            QVERIFY2(heard(boss, inIrc(QStringLiteral("<b>%1</b> song %2").arg(i).arg(i, 2, 10, QChar('0')))),
                     qPrintable(QString::number(i)));
        QVERIFY(!player.errors().contains("lost"));
    }

    // TLS trusts the system's authorities and the one given, nothing else.
    void tlsTrustsOnlyTheGivenAuthority()
    {
        TestIrcServer server(TestIrcServer::Kind::Inspircd);
        QVERIFY(server.start());
        QTemporaryDir home;
        fillHome(home.path(), {"alpha"});
        const QString address = QStringLiteral("ircs://127.0.0.1:%1/#music").arg(server.tlsPort());
        Player untrusting(home.path(), {"--screen-name", "ceo-player", "--irc", address});
        QVERIFY(untrusting.saidOnError("certificate"));
        QVERIFY(!untrusting.errors().contains("in #music"));
        Player trusting(home.path(), {"--screen-name", "ceo", "--irc", address, "--irc-ca", server.caFile()});
        QVERIFY(trusting.saidOnError("in #music"));
    }

    // With --owner-account the server must vouch for the owner's account:
    // the owner's nick without it commands nothing, and a server that can't
    // vouch for accounts is refused.
    void theOwnersAccountIsVouchedFor()
    {
        TestIrcServer server(TestIrcServer::Kind::Inspircd);
        QVERIFY(server.start());
        QVERIFY(server.registerAccount("bossaccount", "boss-secret"));
        QTemporaryDir home;
        fillHome(home.path(), {"alpha"});
        Player player(home.path(), {"--screen-name", "ceo-player", "--owner", "boss", "--owner-account", "bossaccount",
                                    "--irc", QStringLiteral("irc://127.0.0.1:%1/#music").arg(server.port())});
        {
            RawIrcClient impostor(server, {.nick = "boss"});
            QVERIFY(impostor.signOn() && impostor.join("#music"));
            QVERIFY(!impostor.waitFor(":ceo-player!").isEmpty());
            impostor.say("#music", ".mp3s?");
            QTRY_VERIFY(player.out().contains("boss (not logged in):\t.mp3s?\n"));
        }
        RawIrcClient boss(server, {.nick = "boss", .account = "bossaccount", .password = "boss-secret"});
        QVERIFY(boss.signOn() && boss.join("#music"));
        boss.say("#music", ".mp3s?");
        QVERIFY(heard(boss, inIrc("<b>mp3 count </b>1")));
        QTRY_COMPARE(player.out().count("mp3 count"), 1);

        TestIrcServer plain(TestIrcServer::Kind::Ngircd);
        QVERIFY(plain.start());
        Player refused(home.path(), {"--screen-name", "ceo-player", "--owner", "boss", "--owner-account", "boss",
                                     "--irc", QStringLiteral("irc://127.0.0.1:%1/#music").arg(plain.port())});
        QVERIFY2(refused.saidOnError("can't vouch for accounts"), refused.errors());
        QCOMPARE(refused.exitCode(), 1);
        QVERIFY2(refused.errors().contains("can't vouch for accounts"), refused.errors());
    }

    // As the user's own client over TLS with SASL: typed lines and the
    // program's announcements are the user's, each seen once; a refused
    // login ends the program.
    void asTheUsersOwnClient()
    {
        TestIrcServer server(TestIrcServer::Kind::Inspircd);
        QVERIFY(server.start());
        QVERIFY(server.registerAccount("ceo", "ceo-secret"));
        QTemporaryDir home;
        fillHome(home.path(), {"alpha"});
        const QStringList arguments{"--screen-name", "ceo", "--irc-ca", server.caFile(), "--irc",
                                    QStringLiteral("ircs://127.0.0.1:%1/#music").arg(server.tlsPort())};
        {
            Player wrong(home.path(), arguments, {"DUN2_IRC_PASSWORD=not-it"});
            QVERIFY2(wrong.saidOnError("SASL"), wrong.errors());
            QCOMPARE(wrong.exitCode(), 1);
            QVERIFY2(wrong.errors().contains("SASL"), wrong.errors());
        }
        Player player(home.path(), arguments, {"DUN2_IRC_PASSWORD=ceo-secret"});
        RawIrcClient friendly(server, {.nick = "friendly", .caps = {"account-tag"}});
        QVERIFY(friendly.signOn() && friendly.join("#music"));
        QVERIFY(player.saidOnError("in #music"));
        player.type(".mp3s?");
        const QByteArray typed = friendly.waitFor(said("", ".mp3s?"));
        QVERIFY2(typed.contains("account=ceo") && typed.contains(" :ceo!"), typed);
        QVERIFY(!friendly.waitFor(said("", inIrc("<b>mp3 count </b>1"))).isEmpty());
        QTRY_COMPARE(player.out().count("ceo:\t.mp3s?\n"), 1);
        QTRY_COMPARE(player.out().count("mp3 count"), 1);
    }

    // The nick held is the signed-on name: under a fallback nick the user's
    // own lines still command, on a server that echoes nothing.
    void aFallbackNickStillCommands()
    {
        TestIrcServer server(TestIrcServer::Kind::Ngircd);
        QVERIFY(server.start());
        RawIrcClient holder(server, {.nick = "ceo"});
        QVERIFY(holder.signOn() && holder.join("#music"));
        QTemporaryDir home;
        fillHome(home.path(), {"alpha"});
        Player player(home.path(), {"--screen-name", "ceo", "--irc",
                                    QStringLiteral("irc://127.0.0.1:%1/#music").arg(server.port())});
        QVERIFY(player.saidOnError("in #music as ceo_"));
        player.type(".mp3s?");
        QVERIFY(holder.waitFor("PRIVMSG #music :.mp3s?").startsWith(":ceo_!"));
        QVERIFY(holder.waitFor(said("", inIrc("<b>mp3 count </b>1"))).startsWith(":ceo_!"));
        QTRY_COMPARE(player.out().count("ceo_:\t.mp3s?\n"), 1);
    }
};

DUN2_TEST(IrcRoomTest);
#include "tst_ircroom.moc"
