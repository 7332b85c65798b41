#include "ircservers.h"

#include "rawircclient.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <array>

namespace {

constexpr int StartTimeoutMs = 20000;
const QString ServerName = QStringLiteral("irc.test");
const QString ServicesName = QStringLiteral("services.test");
const QString LinkPassword = QStringLiteral("test-link");

// Three ports held at once so they differ; the server binds them a moment
// later, which no other test on this machine is racing for.
std::array<quint16, 3> freePorts()
{
    std::array<QTcpServer, 3> listeners;
    std::array<quint16, 3> ports{};
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (listeners[i].listen(QHostAddress::LocalHost, 0))
            ports[i] = listeners[i].serverPort();
    }
    return ports;
}

bool writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

// With `ircReply`, only an IRC server that answers counts: a port that
// something else took accepts connections but says nothing.
bool accepts(quint16 port, bool ircReply)
{
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, port);
    if (!probe.waitForConnected(1000))
        return false;
    if (!ircReply)
        return true;
    probe.write("PING :probe\r\n");
    return probe.waitForReadyRead(1000);
}

// Limits are ngircd's defaults except the nick length (test nicks such as
// "ceo-player" are longer than 9) and the connection counts, which would
// refuse a test's third client from the same address.
QString ngircdConfiguration(quint16 port)
{
    return QStringLiteral(R"([Global]
    Name = %1
    Info = dun2 test server
    AdminInfo1 = dun2 tests
    AdminInfo2 = 127.0.0.1
    AdminEMail = tests@%1
    Listen = 127.0.0.1
    Ports = %2
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
)").arg(ServerName).arg(port);
}

// No host name lookups and no fake lag, so a test's clients sign on at once
// and are not slowed by what they send.
QString inspircdConfiguration(const QString &dir, quint16 port, quint16 tlsPort, quint16 linkPort, int run,
                              bool disconnectFlooders)
{
    const QString flood = disconnectFlooders ? QStringLiteral(R"(threshold="10" commandrate="1000")")
                                             : QStringLiteral(R"(threshold="1000" commandrate="100000")");
    return QStringLiteral(R"(<server name="%1" description="dun2 test server" network="TestNet">
<admin name="dun2 tests" nick="tests" email="tests@%1">
<bind address="127.0.0.1" port="%3" type="clients">
<bind address="127.0.0.1" port="%4" type="clients" sslprofile="test">
<bind address="127.0.0.1" port="%5" type="servers">
<module name="ssl_gnutls">
<sslprofile name="test" provider="gnutls" certfile="%2/server.pem" keyfile="%2/server.key" hash="sha256">
<module name="cap">
<module name="ircv3">
<module name="ircv3_echomessage">
<module name="ircv3_ctctags">
<module name="ircv3_accounttag">
<module name="services_account">
<module name="sasl">
<module name="spanningtree">
<ircv3 accountnotify="yes" awaynotify="yes" extendedjoin="yes">
<connect allow="*" resolvehostnames="no" useident="no" timeout="120" pingfreq="120" fakelag="no" %9
         localmax="1000" globalmax="1000" limit="5000" recvq="65536" softsendq="65536" hardsendq="1048576">
<dns server="127.0.0.1" timeout="1">
<pid file="%2/inspircd.pid">
<log method="file" type="*" level="default" target="%2/inspircd-%6.log">
<files motd="%2/motd.txt">
<sasl target="%7">
<link name="%7" ipaddr="127.0.0.1" port="%5" allowmask="127.0.0.1" sendpass="%8" recvpass="%8">
<uline server="%7" silent="yes">
)")
        .arg(ServerName, dir)
        .arg(port)
        .arg(tlsPort)
        .arg(linkPort)
        .arg(run)
        .arg(ServicesName, LinkPassword, flood);
}

// Just what accounts and SASL PLAIN need; no email, so REGISTER takes any
// address.
QString athemeConfiguration(quint16 linkPort)
{
    return QStringLiteral(R"(loadmodule "modules/protocol/inspircd";
loadmodule "modules/backend/opensex";
loadmodule "modules/crypto/pbkdf2v2";
loadmodule "modules/nickserv/main";
loadmodule "modules/nickserv/register";
loadmodule "modules/nickserv/identify";
loadmodule "modules/saslserv/main";
loadmodule "modules/saslserv/plain";
serverinfo {
    name = "%1"; desc = "dun2 test services"; numeric = "00S"; recontime = 1;
    netname = "TestNet"; hidehostsuffix = "users.test";
    adminname = "dun2 tests"; adminemail = "tests@%1"; registeremail = "tests@%1";
    loglevel = { error; info; admin; network; };
    maxlogins = 50; maxusers = 50; mdlimit = 30; emaillimit = 10; emailtime = 300;
    auth = none; casemapping = rfc1459;
};
uplink "%2" { host = "127.0.0.1"; port = %3; password = "%4"; };
nickserv { nick = "NickServ"; user = "NickServ"; host = "%1"; real = "Nickname Services"; maxnicks = 5; expire = 30; };
saslserv { nick = "SaslServ"; user = "SaslServ"; host = "%1"; real = "SASL Authentication Agent"; };
general {
    flood_msgs = 100; flood_time = 10; ratelimit_uses = 1000; ratelimit_period = 60;
    commit_interval = 5; default_clone_allowed = 100; default_clone_warn = 100; language = "en";
};
)")
        .arg(ServicesName, ServerName)
        .arg(linkPort)
        .arg(LinkPassword);
}

} // namespace

TestIrcServer::TestIrcServer(Kind kind) : m_kind(kind)
{
    const std::array<quint16, 3> ports = freePorts();
    m_port = ports[0];
    if (m_kind == Kind::Inspircd) {
        m_tlsPort = ports[1];
        m_linkPort = ports[2];
    }
}

TestIrcServer::~TestIrcServer()
{
    stop();
}

QString TestIrcServer::caFile() const
{
    return m_dir.filePath(QStringLiteral("ca.pem"));
}

bool TestIrcServer::start()
{
    stop();
    ++m_starts;
    if (!m_dir.isValid() || m_port == 0 || !writeConfiguration())
        return false;
    const QString conf = m_dir.filePath(QStringLiteral("server.conf"));
    m_server = std::make_unique<QProcess>();
    if (m_kind == Kind::Ngircd) {
        return startProcess(*m_server, QStringLiteral("ngircd"), {"-n", "-f", conf}, QStringLiteral("ngircd"))
               && waitUntilReady(*m_server, QStringLiteral("ngircd"));
    }
    if (!startProcess(*m_server, QStringLiteral("inspircd"), {"--nofork", "--runasroot", "--config", conf},
                      QStringLiteral("inspircd"))
        || !waitUntilReady(*m_server, QStringLiteral("inspircd")))
        return false;
    m_services = std::make_unique<QProcess>();
    const QString log = m_dir.filePath(QStringLiteral("atheme-%1.log").arg(m_starts));
    return startProcess(*m_services, QStringLiteral("atheme-services"),
                        {"-n", "-c", m_dir.filePath(QStringLiteral("atheme.conf")), "-D", m_dir.path(), "-l", log,
                         "-p", m_dir.filePath(QStringLiteral("atheme.pid"))},
                        QStringLiteral("atheme"))
           && waitUntilReady(*m_services, QStringLiteral("atheme"));
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

bool TestIrcServer::writeConfiguration()
{
    const QString conf = m_dir.filePath(QStringLiteral("server.conf"));
    if (m_kind == Kind::Ngircd)
        return writeFile(conf, ngircdConfiguration(m_port));
    return (QFile::exists(caFile()) || makeCertificates())
           && writeFile(m_dir.filePath(QStringLiteral("motd.txt")), QStringLiteral("dun2 test server\n"))
           && writeFile(conf, inspircdConfiguration(m_dir.path(), m_port, m_tlsPort, m_linkPort, m_starts,
                                                       m_disconnectFlooders))
           && writeFile(m_dir.filePath(QStringLiteral("atheme.conf")), athemeConfiguration(m_linkPort));
}

// A certificate authority of this server's own and a certificate for
// "localhost" and 127.0.0.1 signed by it, valid for two days.
bool TestIrcServer::makeCertificates()
{
    const QStringList key{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-days", "2"};
    const QList<QStringList> steps{
        QStringList{"req", "-x509"} + key + QStringList{"-keyout", "ca.key", "-out", "ca.pem", "-subj", "/CN=dun2 test CA"},
        QStringList{"req", "-x509"} + key
            + QStringList{"-keyout", "server.key", "-out", "server.pem", "-subj", "/CN=localhost", "-CA", "ca.pem",
                          "-CAkey", "ca.key", "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1", "-addext",
                          "basicConstraints=critical,CA:FALSE"}};
    for (const QStringList &arguments : steps) {
        QProcess openssl;
        openssl.setWorkingDirectory(m_dir.path());
        openssl.setProcessChannelMode(QProcess::MergedChannels);
        openssl.start(QStringLiteral("openssl"), arguments);
        if (!openssl.waitForFinished(30000) || openssl.exitStatus() != QProcess::NormalExit
            || openssl.exitCode() != 0) {
            qWarning().noquote() << "openssl" << arguments.join(' ') << "failed:" << openssl.readAll()
                                 << openssl.errorString();
            return false;
        }
    }
    return true;
}

bool TestIrcServer::startProcess(QProcess &process, const QString &program, const QStringList &arguments,
                                 const QString &logName)
{
    process.setWorkingDirectory(m_dir.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardOutputFile(m_dir.filePath(QStringLiteral("%1-%2.out").arg(logName).arg(m_starts)));
    process.start(program, arguments);
    if (process.waitForStarted(10000))
        return true;
    qWarning().noquote() << program << "did not start:" << process.errorString();
    return false;
}

// Polls, as QTRY does, until the ports accept connections (or the services
// have finished their burst), the process ends or the deadline passes.
bool TestIrcServer::waitUntilReady(QProcess &process, const QString &name)
{
    const QDeadlineTimer deadline(StartTimeoutMs);
    auto ready = [&] {
        if (&process == m_services.get())
            return servicesLinked();
        return accepts(m_port, true) && (m_tlsPort == 0 || accepts(m_tlsPort, false));
    };
    while (process.state() == QProcess::Running && !deadline.hasExpired()) {
        if (ready())
            return true;
        QTest::qWait(20);
    }
    qWarning().noquote() << name << "did not get ready on ports" << m_port << m_tlsPort << m_linkPort << "\n"
                         << logs();
    return false;
}

bool TestIrcServer::servicesLinked() const
{
    QFile log(m_dir.filePath(QStringLiteral("atheme-%1.log").arg(m_starts)));
    return log.open(QIODevice::ReadOnly) && log.readAll().contains("finished synching with uplink");
}

bool TestIrcServer::registerAccount(const QString &account, const QString &password)
{
    RawIrcClient client(*this, {.nick = account});
    if (!client.signOn())
        return false;
    client.send(QStringLiteral("PRIVMSG NickServ :REGISTER %1 %2@tests.invalid").arg(password, account).toUtf8());
    // 900: the server says we are now logged in to the new account.
    const bool registered = !client.waitFor([](const QByteArray &line) { return line.contains(" 900 "); }).isEmpty();
    client.send("QUIT");
    return registered;
}

QString TestIrcServer::logs() const
{
    QString text;
    const QDir dir(m_dir.path());
    for (const QString &name : dir.entryList({"*.out", "*.log"}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            text += QStringLiteral("--- %1\n").arg(name) + QString::fromUtf8(file.readAll().right(20000)) + '\n';
    }
    return text;
}
