#include "ircservers.h"

#include "files.h"
#include "rawircclient.h"

#include <QDir>
#include <QFile>
#include <QTcpSocket>
#include <QTest>
#include <algorithm>

namespace {

// Limits are ngircd's defaults except the nick length (test nicks such as
// "ceo-player" are longer than 9) and the connection counts, which would
// refuse a test's third client from the same address. %1: the port, %2:
// the password every client must give ("" for none).
const char *const NgircdConfiguration = R"([Global]
    Name = irc.test
    Listen = 127.0.0.1
    Ports = %1
    Password = %2
    MotdPhrase = "dun2 test server"
[Limits]
    MaxConnections = 0
    MaxConnectionsIP = 0
    MaxJoins = 0
    MaxNickLength = 30
[Options]
    DNS = no
    Ident = no
    PAM = no
)";

// No host name lookups and no fake lag, so a test's clients sign on at once.
// %1: the folder, %2-%4: the client, TLS and link ports, %5: the run, %6 and
// %7: the flood threshold and command rate.
const char *const InspircdConfiguration = R"(<server name="irc.test" description="dun2 test server" network="TestNet">
<bind address="127.0.0.1" port="%2" type="clients">
<bind address="127.0.0.1" port="%3" type="clients" sslprofile="test">
<bind address="127.0.0.1" port="%4" type="servers">
<module name="ssl_gnutls">
<sslprofile name="test" provider="gnutls" certfile="%1/server.pem" keyfile="%1/server.key" hash="sha256">
<module name="cap">
<module name="ircv3">
<module name="ircv3_echomessage">
<module name="monitor">
<module name="ircv3_ctctags">
<module name="ircv3_accounttag">
<module name="ircv3_servertime">
<module name="ircv3_batch">
<module name="chanhistory">
<chanhistory maxlines="50" notice="no">
<module name="services_account">
<module name="sasl">
<module name="spanningtree">
<ircv3 accountnotify="yes" awaynotify="yes" extendedjoin="yes">
<connect allow="*" resolvehostnames="no" useident="no" timeout="120" pingfreq="120" fakelag="no"
         threshold="%6" commandrate="%7" localmax="1000" globalmax="1000" limit="5000"
         recvq="65536" softsendq="65536" hardsendq="1048576">
<dns server="127.0.0.1" timeout="1">
<pid file="%1/inspircd.pid">
<log method="file" type="*" level="default" target="%1/inspircd-%5.log">
<sasl target="services.test">
<link name="services.test" ipaddr="127.0.0.1" port="%4" allowmask="127.0.0.1" sendpass="test-link" recvpass="test-link">
<uline server="services.test" silent="yes">
)";

// Just what accounts and SASL PLAIN need; no email, so REGISTER takes any
// address. %1: the link port.
const char *const AthemeConfiguration = R"(loadmodule "modules/protocol/inspircd";
loadmodule "modules/backend/opensex";
loadmodule "modules/crypto/pbkdf2v2";
loadmodule "modules/nickserv/main";
loadmodule "modules/nickserv/register";
loadmodule "modules/nickserv/identify";
loadmodule "modules/saslserv/main";
loadmodule "modules/saslserv/plain";
serverinfo {
    name = "services.test"; desc = "dun2 test services"; numeric = "00S"; recontime = 1;
    netname = "TestNet"; hidehostsuffix = "users.test";
    adminname = "dun2 tests"; adminemail = "tests@services.test"; registeremail = "tests@services.test";
    loglevel = { error; info; admin; network; };
    maxlogins = 50; maxusers = 50; mdlimit = 30; emaillimit = 10; emailtime = 300;
    auth = none; casemapping = rfc1459;
};
uplink "irc.test" { host = "127.0.0.1"; port = %1; password = "test-link"; };
nickserv { nick = "NickServ"; user = "NickServ"; host = "services.test"; real = "Nickname Services"; maxnicks = 5; expire = 30; };
saslserv { nick = "SaslServ"; user = "SaslServ"; host = "services.test"; real = "SASL Authentication Agent"; };
general {
    flood_msgs = 100; flood_time = 10; ratelimit_uses = 1000; ratelimit_period = 60;
    commit_interval = 5; default_clone_allowed = 100; default_clone_warn = 100; language = "en";
};
)";

// With `ircReply`, only an IRC server that answers counts: a port that
// something else took accepts connections but says nothing.
bool accepts(quint16 port, bool ircReply)
{
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, port);
    if (!probe.waitForConnected(1000) || !ircReply)
        return probe.state() == QAbstractSocket::ConnectedState;
    probe.write("PING :probe\r\n");
    return probe.waitForReadyRead(1000);
}

} // namespace

bool TestIrcServer::start(bool withServices)
{
    m_withServices = withServices;
    for (int attempt = 1;; ++attempt) {
        const Launch launched = startOnce();
        if (launched == Launch::Ready)
            return m_started = true;
        if (launched == Launch::Failed || m_started || attempt == 5)
            return false;
        stop();
        // Claimed before the old ones go, so they differ.
        m_ports = {};
    }
}

TestIrcServer::Launch TestIrcServer::startOnce()
{
    stop();
    ++m_starts;
    if (std::any_of(m_ports.begin(), m_ports.end(), [](const PortClaim &claim) { return claim.port() == 0; }))
        return Launch::Failed;
    const QString conf = m_dir.filePath(QStringLiteral("server.conf"));
    const auto accepting = [this] { return accepts(port(), true) && (tlsPort() == 0 || accepts(tlsPort(), false)); };
    if (m_kind == Kind::Ngircd)
        return writeFile(conf, QString(NgircdConfiguration).arg(port()).arg(m_password).toUtf8())
                   ? launch(m_server, QStringLiteral("ngircd"), {"-n", "-f", conf}, accepting)
                   : Launch::Failed;
    // Valid for two days; trusted by a client that is given it as its authority.
    const QStringList certificate{"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                                  "-nodes", "-days", "2", "-subj", "/CN=localhost", "-keyout",
                                  m_dir.filePath(QStringLiteral("server.key")), "-out", caFile(), "-addext",
                                  "subjectAltName=DNS:localhost,IP:127.0.0.1"};
    const bool configured =
        (QFile::exists(caFile()) || QProcess::execute(QStringLiteral("openssl"), certificate) == 0)
        && writeFile(conf, QString(InspircdConfiguration)
                               .arg(m_dir.path())
                               .arg(port())
                               .arg(tlsPort())
                               .arg(linkPort())
                               .arg(m_starts)
                               .arg(m_disconnectFlooders ? 10 : 1000)
                               .arg(m_disconnectFlooders ? 1000 : 100000)
                               .toUtf8())
        && writeFile(m_dir.filePath(QStringLiteral("atheme.conf")), QString(AthemeConfiguration).arg(linkPort()).toUtf8());
    if (!configured)
        return Launch::Failed;
    const Launch server =
        launch(m_server, QStringLiteral("inspircd"), {"--nofork", "--runasroot", "--config", conf}, accepting);
    return server != Launch::Ready || !m_withServices ? server : launchServices();
}

TestIrcServer::Launch TestIrcServer::launchServices()
{
    const QString log = m_dir.filePath(QStringLiteral("atheme-%1.log").arg(m_starts));
    const auto linked = [log] {
        QFile file(log);
        return file.open(QIODevice::ReadOnly) && file.readAll().contains("finished synching with uplink");
    };
    return launch(m_services, QStringLiteral("atheme-services"),
                  {"-n", "-c", m_dir.filePath(QStringLiteral("atheme.conf")), "-D", m_dir.path(), "-l", log, "-p",
                   m_dir.filePath(QStringLiteral("atheme.pid"))},
                  linked);
}

void TestIrcServer::stop()
{
    // Services first, so they save their accounts while the link is still up.
    for (std::unique_ptr<QProcess> *process : {&m_services, &m_server}) {
        if (!*process)
            continue;
        (*process)->terminate();
        if (!(*process)->waitForFinished(5000)) {
            (*process)->kill();
            (*process)->waitForFinished(5000);
        }
        process->reset();
    }
}

// Waits, as QTRY does, until the process is ready, says a port of its was
// taken, ends or 20 s pass; on failure prints what the servers wrote.
TestIrcServer::Launch TestIrcServer::launch(std::unique_ptr<QProcess> &process, const QString &program,
                                            const QStringList &arguments, const std::function<bool()> &ready)
{
    const QString output = m_dir.filePath(QStringLiteral("%1-%2.out").arg(program).arg(m_starts));
    // Both servers say so on their output; ngircd then ends, inspircd goes
    // on without that listener.
    const auto portTaken = [&output] {
        QFile file(output);
        return file.open(QIODevice::ReadOnly) && file.readAll().contains("Address already in use");
    };
    process = std::make_unique<QProcess>();
    process->setWorkingDirectory(m_dir.path());
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardOutputFile(output);
    process->start(program, arguments);
    // Until then the process reads as starting even once it serves, and a
    // server that is ready at the first look would count as not running.
    process->waitForStarted();
    bool taken = false;
    const bool settled = QTest::qWaitFor(
        [&] { return (taken = portTaken()) || process->state() == QProcess::NotRunning || ready(); }, 20000);
    if (settled && !taken && process->state() == QProcess::Running)
        return Launch::Ready;
    QString logs;
    const QDir dir(m_dir.path());
    for (const QString &name : dir.entryList({"*.out", "*.log"}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            logs += "--- " + name + '\n' + QString::fromUtf8(file.readAll().right(20000)) + '\n';
    }
    qWarning().noquote() << program << (taken ? "found a port taken:" : "did not get ready on ports") << port()
                         << tlsPort() << linkPort() << process->errorString() << '\n' << logs;
    return taken ? Launch::PortTaken : Launch::Failed;
}

bool TestIrcServer::registerAccount(const QString &account, const QString &password)
{
    RawIrcClient client(*this, {.nick = account});
    if (!client.signOn())
        return false;
    client.send(QStringLiteral("PRIVMSG NickServ :REGISTER %1 %2@tests.invalid").arg(password, account).toUtf8());
    // 900: the server says we are now logged in to the new account.
    const bool registered = !client.waitFor(" 900 ").isEmpty();
    client.send("QUIT");
    return registered;
}
