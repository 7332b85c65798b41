#include "platform/irc/ircsettings.h"
#include "support/testregistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

IrcOptions optionsFrom(const QStringList &given)
{
    IrcOptions options;
    const std::pair<QString, std::optional<QString> IrcOptions::*> names[] = {
        {"irc", &IrcOptions::address},         {"screen-name", &IrcOptions::screenName},
        {"owner", &IrcOptions::owner},         {"owner-account", &IrcOptions::ownerAccount},
        {"irc-ca", &IrcOptions::caFile},       {"irc-password-file", &IrcOptions::passwordFile}};
    for (const QString &option : given)
        for (const auto &[name, member] : names)
            if (option.section('=', 0, 0) == name)
                options.*member = option.section('=', 1, -1);
    return options;
}

} // namespace

class IrcSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void addresses()
    {
        // host port tls channel key, or a part of the problem.
        const struct {
            const char *text;
            const char *expected;
        } cases[] = {
            {"ircs://irc.example.org/#music", "irc.example.org 6697 tls #music "},
            {"irc://irc.example.org/#music", "irc.example.org 6667 plain #music "},
            {"IRC://h:7000/%23music?key=k3y", "h 7000 plain #music k3y"},
            {"ircs://h/#music?key=k%3F", "h 6697 tls #music k?"},
            {"ircs://h/?key=k#music", "h 6697 tls #music k"},
            {"ircs://[::1]:6698/&local", "::1 6698 tls &local "},
            {"irc://h/music", "h 6667 plain #music "},
            {"irc://h/!12345chan", "h 6667 plain !12345chan "},
            {"irc.example.org/#music", "does not start with irc:// or ircs://"},
            {"https://h/#music", "does not start with irc:// or ircs://"},
            {"irc://h", "names no channel"},
            {"irc://h/#", "names no channel"},
            {"irc://h/?key=k", "names no channel"},
            {"irc://h:0/#a", "bad port \"0\""},
            {"irc://h:65536/#a", "bad port"},
            {"irc://h:+80/#a", "bad port"},
            {"irc://h:/#a", "bad port"},
            {"irc:///#a", "names no host"},
            {"irc://h_x/#a", "bad host"},
            {"irc://[::1/#a", "bad host"},
            {"irc://ann:pw@h/#a", "holds a name or password"},
            {"irc://h/#a b", "blanks, commas"},
            {"irc://h/%23a,%23b", "blanks, commas"},
            {"irc://h/#a%07", "blanks, commas"},
            {"irc://h/#a?nick=x", "only ?key=KEY"},
            {"irc://h/#a?key=", "empty channel key"},
            {"irc://h/#a?key=a%0D%0AQUIT", "channel key with blanks"},
        };
        for (const auto &c : cases) {
            IrcAddress address;
            const QString problem = ParseIrcAddress(c.text, address);
            const QString got = problem.isEmpty() ? QString("%1 %2 %3 %4 %5")
                                                        .arg(address.host)
                                                        .arg(address.port)
                                                        .arg(address.tls ? "tls" : "plain", address.channel,
                                                             address.key)
                                                  : problem;
            QVERIFY2(got.contains(c.expected) && (problem.isEmpty() || address.host.isEmpty()),
                     qPrintable(QString(c.text) + " -> " + got));
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
        writeFile(home.filePath("irc.ini"), "; the chat client's network\r\n[IRC]\r\nAddress=ircs://irc.example.org/#music\r\n"
                                            "screen name=ceo-player\r\nowner=ceo\r\nOwner Account=ceoacct\r\n"
                                            "ca=certs/ca.pem\r\npassword file=secret\r\n");
        writeFile(home.filePath("certs/ca.pem"), "-----BEGIN CERTIFICATE-----\n");
        writeFile(home.filePath("secret"), "p\xC3\xA4ss word\r\nsecond line\n");
        writeFile(home.filePath("big"), QByteArray(IrcPasswordFileLimit + 1, 'x'));
        writeFile(home.filePath("blank"), "\nsecond line\n");
        const QString previous = QDir::currentPath();
        QDir::setCurrent(home.filePath("certs"));

        const struct {
            const char *name;
            bool withIni;
            QStringList given; // as on the command line, without the "--"
            const char *environmentPassword;
            // url|screen name|owner|owner account|ca|password, HOME for the
            // program's directory; or a part of the problem.
            const char *expected;
        } cases[] = {
            {"all from irc.ini", true, {}, "",
             "ircs://irc.example.org/#music|ceo-player|ceo|ceoacct|HOME/certs/ca.pem|p\xC3\xA4ss word"},
            {"the environment's password first", true, {"irc-password-file=../dir"}, "env pw",
             "ircs://irc.example.org/#music|ceo-player|ceo|ceoacct|HOME/certs/ca.pem|env pw"},
            {"the command line key by key", true,
             {"irc=ircs://h:7000/#x", "screen-name=bot", "irc-ca=ca.pem", "irc-password-file=../secret"}, "",
             "ircs://h:7000/#x|bot|ceo|ceoacct|HOME/certs/ca.pem|p\xC3\xA4ss word"},
            {"a password file without a first line", true, {"irc-password-file=../blank"}, "", "no password on its"},
            {"an owner emptied leaves its account alone", true, {"owner="}, "", "give --owner NICK"},
            {"local without irc.ini", false, {}, "", "|login||||"},
            {"local with a name", false, {"screen-name=Ann Lee"}, "", "|Ann Lee||||"},
            {"network options without a network", false, {"owner=ceo"}, "", "give --irc URL too"},
            {"an account without an owner", false, {"irc=irc://h/#a", "owner-account=x"}, "",
             "give --owner NICK"},
            {"plain text own client", false, {"irc=irc://h/#a", "screen-name=ceo"}, "",
             "irc://h/#a|ceo||||"},
            {"the owner's own nick", false, {"irc=irc://h/#a", "screen-name=Ceo", "owner=ceo"}, "",
             "a nick of its own"},
            {"a screen name no network takes", false, {"irc=irc://h/#a", "screen-name=Ann Lee"}, "",
             "\"Ann Lee\" is no nick"},
            {"a certificate authority on plain text", true, {"irc=irc://h/#a"}, "", "for an ircs:// address"},
            {"no such certificate authority", true, {"irc-ca=none.pem"}, "", "none.pem: No such file"},
            {"a password file too big", true, {"irc-password-file=../big"}, "", "larger than 4096 bytes"},
            {"a password file that is a folder", true, {"irc-password-file=../dir"}, "", "is not a regular file"},
            {"a bad address", true, {"irc=irc://h/#a,#b"}, "", "blanks, commas"},
        };
        for (const auto &c : cases) {
            IrcSettings settings;
            const QString problem = ResolveIrcSettings(optionsFrom(c.given), c.withIni ? home.path() : bare.path(), "login",
                                                       c.environmentPassword, settings);
            const QString got = problem.isEmpty() ? QStringList{settings.url, settings.screenName, settings.owner,
                                                                settings.ownerAccount, settings.caFile,
                                                                settings.password}
                                                        .join('|')
                                                  : problem;
            const QString expected = QString::fromUtf8(c.expected).replace("HOME", home.path());
            QVERIFY2(problem.isEmpty() ? got == expected : got.contains(expected),
                     qPrintable(QString(c.name) + ": " + got));
        }
        QDir::setCurrent(previous);
    }
};

DUN2_TEST(IrcSettingsTest);
#include "tst_ircsettings.moc"
