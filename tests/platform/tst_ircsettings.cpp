#include "platform/irc/ircsettings.h"
#include "support/files.h"
#include "support/testregistry.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class IrcSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void addresses()
    {
        // host port tls channel key, or a part of the problem.
        const std::pair<const char *, const char *> cases[] = {
            {"irc://irc.example.org/#music", "irc.example.org 6667 plain #music "},
            {"IRC://h:7000/%23music?key=k3y", "h 7000 plain #music k3y"},
            {"ircs://h/#music?key=k%3F", "h 6697 tls #music k?"},
            {"ircs://h/?key=k#music", "h 6697 tls #music k"},
            {"ircs://[::1]:6698/&local", "::1 6698 tls &local "},
            {"irc://h/music", "h 6667 plain #music "},
            {"irc.example.org/#music", "does not start with irc:// or ircs://"},
            {"irc://h", "names no channel"},
            {"irc://h:0/#a", "bad port \"0\""},
            {"irc://h:+80/#a", "bad port"},
            {"irc:///#a", "names no host"},
            {"irc://h_x/#a", "bad host"},
            {"irc://ann:pw@h/#a", "holds a name or password"},
            {"irc://h/#a?nick=x", "only ?key=KEY"},
            {"irc://h/#a?key=a%0D%0AQUIT", "channel key with blanks"},
        };
        for (const auto &[text, expected] : cases) {
            IrcAddress a;
            const QString problem = ParseIrcAddress(text, a);
            const QString port = QString::number(a.port), security = a.tls ? "tls" : "plain";
            const QString got =
                problem.isEmpty() ? QStringList{a.host, port, security, a.channel, a.key}.join(' ') : problem;
            QVERIFY2(got.contains(expected) && (problem.isEmpty() || a.host.isEmpty()), qPrintable(got));
        }
        for (const char *nick : {"", "9lives", "-x", "a b", "ann!x", "\xC3\xA9mile", "#chan"})
            QVERIFY2(!IrcNickProblem(QString::fromUtf8(nick)).isEmpty(), nick);
        QCOMPARE(IrcNickProblem("[ceo]-player_2`^{|}"), QString());
    }

    // The command line over irc.ini, key by key; files named in irc.ini
    // from the program's directory, on the command line from where the
    // user stands; the password from the environment before any file.
    void settings()
    {
        QTemporaryDir home, bare;
        QVERIFY(QDir(home.path()).mkdir("certs") && QDir(home.path()).mkdir("dir"));
        const std::pair<const char *, QByteArray> files[] = {
            {"irc.ini", "; the chat client's network\r\n[IRC]\r\nAddress=ircs://irc.example.org/#music\r\n"
                        "screen name=ceo-player\r\nowner=ceo\r\nOwner Account=ceoacct\r\n"
                        "dj accounts= dj1 ,dj2,,\r\n"
                        "ca=certs/ca.pem\r\npassword file=secret\r\n"},
            {"certs/ca.pem", "-----BEGIN CERTIFICATE-----\n"},
            {"secret", "p\xC3\xA4ss word\r\nsecond line\n"},
            {"big", QByteArray(IrcPasswordFileLimit + 1, 'x')},
            {"blank", "\nsecond line\n"}};
        for (const auto &[name, bytes] : files)
            QVERIFY(writeFile(home.filePath(name), bytes));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(home.filePath("certs"));

        // url|screen name|owner|owner account|ca|password|DJs' accounts,
        // HOME for the program's directory; or a part of the problem.
        const struct {
            bool withIni;
            IrcOptions given; // address, screen name, owner, owner account, ca, password file, …, DJs
            const char *environmentPassword;
            const char *expected;
        } cases[] = {
            {true, {}, "", "ircs://irc.example.org/#music|ceo-player|ceo|ceoacct|HOME/certs/ca.pem|p\xC3\xA4ss word|dj1 dj2"},
            {true, {{}, {}, {}, {}, {}, "../dir"}, "env pw",
             "ircs://irc.example.org/#music|ceo-player|ceo|ceoacct|HOME/certs/ca.pem|env pw|dj1 dj2"},
            {true, {"ircs://h:7000/#x", "bot", {}, {}, "ca.pem", "../secret", false, {}, QStringList{"dj3"}}, "",
             "ircs://h:7000/#x|bot|ceo|ceoacct|HOME/certs/ca.pem|p\xC3\xA4ss word|dj3"},
            {true, {{}, {}, {}, {}, {}, {}, false, {}, QStringList{"dj 3"}}, "", "a DJ's account can't hold blanks"},
            {false, {{}, {}, {}, {}, {}, {}, false, {}, QStringList{"dj3"}}, "", "give --irc URL too"},
            {true, {{}, {}, "", {}, {}, {}}, "", "give --owner NICK"},
            {false, {}, "", "|login|||||"},
            {false, {{}, {}, "ceo", {}, {}, {}}, "", "give --irc URL too"},
            {false, {"irc://h/#a", "Ceo", "ceo", {}, {}, {}}, "", "a nick of its own"},
            {false, {"irc://h/#a", "Ann Lee", {}, {}, {}, {}}, "", "\"Ann Lee\" is no nick"},
            {true, {"irc://h/#a", {}, {}, {}, {}, {}}, "", "for an ircs:// address"},
            {true, {{}, {}, {}, {}, {}, "../big"}, "", "larger than 4096 bytes"},
            {true, {{}, {}, {}, {}, {}, "../dir"}, "", "is not a regular file"},
            {true, {{}, {}, {}, {}, {}, "../blank"}, "", "no password on its first line"},
        };
        for (const auto &c : cases) {
            IrcSettings s;
            const QString problem = ResolveIrcSettings(c.given, c.withIni ? home.path() : bare.path(), "login",
                                                       {c.environmentPassword}, s);
            const QStringList fields{s.url, s.screenName, s.owner, s.ownerAccount, s.caFile, s.password,
                                     s.djAccounts.join(' ')};
            const QString got = problem.isEmpty() ? fields.join('|') : problem;
            const QString expected = QString::fromUtf8(c.expected).replace("HOME", home.path());
            QVERIFY2(problem.isEmpty() ? got == expected : got.contains(expected), qPrintable(got));
        }
        QDir::setCurrent(previous);
    }
};

DUN2_TEST(IrcSettingsTest);
#include "tst_ircsettings.moc"
