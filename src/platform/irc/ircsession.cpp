#include "platform/irc/ircsession.h"

#include "platform/irc/ircmessage.h"
#include "platform/irc/ircformat.h"
#include "platform/irc/ircsessionparts.h"
#include "platform/nestedloop.h"

#include <QRandomGenerator>
#include <QSslConfiguration>
#include <QSslSocket>
#include <optional>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

using namespace IrcSessionParts;

namespace {

// One read per turn of the event loop; Qt's own buffer holds no more than
// a few of them, and the rest waits in the kernel.
constexpr qint64 ReadChunk = 16 * 1024;
constexpr qint64 SocketBuffer = 64 * 1024;


QString seconds(int ms)
{
    return QStringLiteral("%1 s").arg((ms + 999) / 1000);
}

QString describeTlsError(const QSslError &error)
{
    switch (error.error()) {
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::CertificateUntrusted:
    case QSslError::CertificateRejected:
        return QStringLiteral("certificate not trusted (%1)").arg(error.errorString());
    case QSslError::HostNameMismatch:
        return QStringLiteral("certificate is for another host (%1)").arg(error.errorString());
    case QSslError::CertificateExpired:
        return QStringLiteral("certificate expired");
    default:
        return error.errorString();
    }
}

} // namespace

QString IrcSessionParts::because(const QString &why)
{
    const QString plain = StripIrcFormatting(why);
    return plain.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(plain);
}

IrcSession::IrcSession(IrcEndpoint endpoint, IrcLogin login, QString channel, QString channelKey, QObject *parent)
    : QObject(parent)
    , m_endpoint(std::move(endpoint))
    , m_login(std::move(login))
    , m_channel(std::move(channel))
    , m_channelKey(std::move(channelKey))
    , m_nick(m_login.nick)
    , m_reportedNick(m_login.nick)
{
    for (QTimer *timer : {&m_sendTimer, &m_quietTimer, &m_retryTimer, &m_stableTimer, &m_registerTimer, &m_joinTimer,
                          &m_leaveTimer})
        timer->setSingleShot(true);
    connect(&m_leaveTimer, &QTimer::timeout, this, [this] { m_quitSent ? finishLeaving() : sendQuit(); });
    connect(&m_sendTimer, &QTimer::timeout, this, &IrcSession::pump);
    connect(&m_quietTimer, &QTimer::timeout, this, &IrcSession::onQuiet);
    connect(&m_retryTimer, &QTimer::timeout, this, &IrcSession::retryNow);
    connect(&m_joinTimer, &QTimer::timeout, this, &IrcSession::joinTimedOut);
    connect(&m_nickTimer, &QTimer::timeout, this, [this] { sendProtocol("ISON", {wantedNick()}); });
    // A server that trickles bytes, or answers PINGs and never welcomes us,
    // keeps the link busy but useless.
    connect(&m_registerTimer, &QTimer::timeout, this, [this] {
        loseLink(QStringLiteral("not welcomed within %1").arg(seconds(m_timings.registerMs)));
    });
    connect(&m_stableTimer, &QTimer::timeout, this, [this] {
        m_retryMs = m_timings.firstRetryMs;
        m_kickRejoinUsed = false;
    });
    connect(&LineGate::instance(), &LineGate::opened, this, &IrcSession::deliverLater);
}

IrcSession::~IrcSession()
{
    dropSocket();
}

void IrcSession::start()
{
    if (m_started)
        return;
    m_started = true;
    m_retryMs = m_timings.firstRetryMs;
    if (m_endpoint.tls && !QSslSocket::supportsSsl())
        return fail(QStringLiteral("TLS is not available on this system"));
    if (!m_endpoint.caFile.isEmpty()) {
        m_extraCas = QSslCertificate::fromPath(m_endpoint.caFile, QSsl::Pem, QSslCertificate::PatternSyntax::FixedString);
        if (m_extraCas.isEmpty())
            return fail(QStringLiteral("no certificate could be read from %1").arg(m_endpoint.caFile));
    }
    if (!IrcLine("JOIN", {m_channel, m_channelKey.isEmpty() ? QStringLiteral("x") : m_channelKey}) || !isChannel(m_channel))
        return fail(QStringLiteral("%1 (with its key) is not a channel name IRC can carry").arg(m_channel));
    connectNow();
}

void IrcSession::stop(const QString &reason)
{
    if (m_stopped)
        return;
    m_stopped = true;
    if (m_socket && m_linkUp) {
        if (std::optional<QByteArray> quit = IrcLine("QUIT", {reason.isEmpty() ? QStringLiteral("leaving") : reason}))
            m_socket->write(*quit + "\r\n");
        // Written now: the program may end before the event loop turns again.
        m_socket->flush();
        // It goes once what it still has to write is written.
        QSslSocket *socket = m_socket;
        socket->disconnect(this);
        connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
        socket->disconnectFromHost();
        m_socket = nullptr;
    }
    dropSocket();
    m_retryTimer.stop();
    leaveChannel(QStringLiteral("left the network"));
    setStatus(QStringLiteral("stopped"));
}

// ---- the link

void IrcSession::connectNow()
{
    dropSocket();
    m_inbox.restart();
    m_nick = m_login.nick;
    m_closeReason.clear();
    auto *socket = new QSslSocket(this);
    m_socket = socket;
    socket->setReadBufferSize(SocketBuffer);
    connect(socket, &QIODevice::readyRead, this, &IrcSession::readSome);
    connect(socket, &QAbstractSocket::errorOccurred, this, &IrcSession::onSocketError);
    connect(socket, &QAbstractSocket::disconnected, this, &IrcSession::onSocketError);
    const QString where = QStringLiteral("%1:%2").arg(m_endpoint.host).arg(m_endpoint.port);
    setStatus(QStringLiteral("connecting to %1").arg(where));
    m_quietTimer.start(m_timings.probeAfterMs);
    m_registerTimer.start(m_timings.registerMs);
    if (!m_endpoint.tls) {
        connect(socket, &QAbstractSocket::connected, this, &IrcSession::onConnected);
        socket->connectToHost(m_endpoint.host, m_endpoint.port);
        return;
    }
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.addCaCertificates(m_extraCas);
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    socket->setSslConfiguration(config);
    connect(socket, &QSslSocket::encrypted, this, &IrcSession::onConnected);
    connect(socket, &QSslSocket::sslErrors, this, &IrcSession::onSslErrors);
    socket->connectToHostEncrypted(m_endpoint.host, m_endpoint.port);
}

void IrcSession::onConnected()
{
    m_linkUp = true;
    // A chat line is a small write that should leave at once, not wait
    // for the acknowledgement of the one before.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    heard();
    setStatus(QStringLiteral("connected to %1:%2; registering as %3").arg(m_endpoint.host).arg(m_endpoint.port).arg(m_nick));
    if (!m_login.serverPassword.isEmpty())
        sendProtocol("PASS", {m_login.serverPassword});
    sendProtocol("CAP", {"LS", "302"});
    sendProtocol("NICK", {m_nick});
    sendProtocol("USER", {"dun2", "0", "*", m_login.nick});
}

void IrcSession::onSslErrors(const QList<QSslError> &errors)
{
    // Never ignored: the handshake fails and the link is retried.
    if (!errors.isEmpty())
        m_closeReason = QStringLiteral("TLS refused: %1").arg(describeTlsError(errors.first()));
}

void IrcSession::onSocketError()
{
    if (!m_socket)
        return;
    QString reason = m_closeReason;
    if (reason.isEmpty())
        reason = m_socket->error() == QAbstractSocket::RemoteHostClosedError || m_socket->error() == QAbstractSocket::UnknownSocketError
                     ? QStringLiteral("closed by the server")
                     : m_socket->errorString();
    loseLink(reason);
}

void IrcSession::onQuiet()
{
    if (!m_linkUp)
        return loseLink(QStringLiteral("no answer from the server"));
    if (m_probing)
        return loseLink(QStringLiteral("no answer from the server for %1").arg(seconds(m_timings.dropAfterMs)));
    m_probing = true;
    sendProtocol("PING", {"dun2"});
    m_quietTimer.start(m_timings.dropAfterMs);
}

void IrcSession::heard()
{
    m_probing = false;
    m_quietTimer.start(m_timings.probeAfterMs);
}

void IrcSession::loseLink(const QString &reason)
{
    if (m_leaveDone)
        return finishLeaving();
    if (m_stopped)
        return;
    const QString why = leaveChannel(QStringLiteral("link lost (%1)").arg(reason));
    dropSocket();
    retryLater(why, RetryAction::Connect, nextDelay());
}

void IrcSession::retryLater(const QString &why, RetryAction action, int delayMs)
{
    if (m_leaveDone)
        return finishLeaving();
    m_retryAction = action;
    m_retryTimer.start(delayMs);
    const QString verb = action == RetryAction::Connect ? QStringLiteral("retrying") : QStringLiteral("rejoining");
    setStatus(QStringLiteral("%1; %2 in %3").arg(why, verb, seconds(delayMs)));
}

void IrcSession::retryNow()
{
    if (m_stopped)
        return;
    if (m_retryAction == RetryAction::Join && m_registered)
        joinChannel();
    else
        connectNow();
}

int IrcSession::nextDelay()
{
    const int delay = m_retryMs;
    m_retryMs = std::min(m_timings.maxRetryMs, m_retryMs * 2);
    // ±20%, so that clients that lost the same server do not all come back at once.
    return int(delay * (0.8 + 0.4 * QRandomGenerator::global()->generateDouble()));
}

void IrcSession::fail(const QString &why)
{
    m_stopped = true;
    finishLeaving();
    dropSocket();
    m_retryTimer.stop();
    setStatus(QStringLiteral("stopped: %1").arg(leaveChannel(why)));
    emit failed(why);
}

void IrcSession::dropSocket()
{
    if (QSslSocket *socket = m_socket) {
        m_socket = nullptr;
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    ++m_linkId;
    m_linkUp = m_probing = m_registered = m_joinSent = m_capsDone = false;
    m_caps.clear();
    m_batches.clear();
    m_reader.clear();
    m_pacer.clear();
    for (std::deque<Outgoing> &unsent : m_unsent)
        unsent.clear();
    m_verdicts.clear();
    m_accounts.clear();
    m_sendTimer.stop();
    m_quietTimer.stop();
    m_nickTimer.stop();
    m_monitor = m_nickWatched = false;
    m_stableTimer.stop();
    m_registerTimer.stop();
    m_joinTimer.stop();
    m_user.clear();
    m_host.clear();
    m_account.clear();
    m_sasl = Sasl::NotStarted;
    m_nickTries = 0;
}

void IrcSession::setStatus(const QString &status)
{
    if (status == m_status)
        return;
    m_status = status;
    emit statusChanged(status);
}

// ---- reading

// With echo-message the server's last write to us is often our own line
// coming back, which we answer with nothing: a delayed acknowledgement of it
// would hold the server's next line to us (Nagle's rule on its side) for
// some 40 ms. Linux falls back to delaying after a while, so it is asked
// again after every read.
void IrcSession::acknowledgeAtOnce()
{
#ifdef TCP_QUICKACK
    const int on = 1;
    if (const qintptr fd = m_socket->socketDescriptor(); fd >= 0)
        setsockopt(int(fd), IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
#endif
}

void IrcSession::readLater()
{
    if (!std::exchange(m_readQueued, true))
        QMetaObject::invokeMethod(this, &IrcSession::readSome, Qt::QueuedConnection);
}

bool IrcSession::listenersBehind() const
{
    return m_inbox.isFull() && LineGate::isOpen();
}

void IrcSession::readSome()
{
    m_readQueued = false;
    if (!m_socket || m_reading || listenersBehind())
        return;
    char buffer[ReadChunk];
    QByteArrayView bytes;
    // What is left of the last read is taken before anything more is read.
    if (m_reader.drained()) {
        const qint64 n = m_socket->read(buffer, sizeof buffer);
        if (n <= 0)
            return;
        acknowledgeAtOnce();
        heard();
        bytes = QByteArrayView(buffer, n);
    }
    const quint64 link = m_linkId;
    takeServerBytes(bytes);
    if (link == m_linkId && m_socket && !listenersBehind() && (!m_reader.drained() || m_socket->bytesAvailable() > 0))
        readLater();
}

void IrcSession::takeServerBytes(QByteArrayView bytes)
{
    const quint64 link = m_linkId;
    m_reading = true;
    m_reader.append(bytes);
    // What is left waits in the reader while the listeners catch up.
    while (!listenersBehind()) {
        const std::optional<QByteArray> line = m_reader.takeLine();
        if (!line)
            break;
        if (std::optional<IrcMessage> message = ParseIrcMessage(*line))
            handle(*message);
        // A status listener may have waited, or the line ended the link.
        if (link != m_linkId)
            break;
    }
    m_reading = false;
}

void IrcSession::handle(const IrcMessage &message)
{
    using Handler = void (*)(IrcSession &, const IrcMessage &);
    const Handler saslRefused = [](IrcSession &s, const IrcMessage &m) { s.saslRefused(m); };
    const Handler joinRefused = [](IrcSession &s, const IrcMessage &m) { s.joinRefused(m); };
    const Handler sendRefused = [](IrcSession &s, const IrcMessage &m) { s.sendRefused(m); };
    const Handler inOrOut = [](IrcSession &s, const IrcMessage &m) {
        if (s.m_inChannel && s.isChannel(m.param(1)))
            s.sendRefused(m);
        else
            s.joinRefused(m);
    };
    static const QHash<QString, Handler> handlers = {
        {"PING", [](IrcSession &s, const IrcMessage &m) {
             if (std::optional<QByteArray> pong = IrcLine("PONG", {m.params.value(m.params.size() - 1)})) {
                 s.m_pacer.setPong(*pong);
                 s.pump();
             }
         }},
        {"ERROR", [](IrcSession &s, const IrcMessage &m) { s.m_closeReason = m.param(0); }},
        {"PONG", [](IrcSession &s, const IrcMessage &m) {
             const QString token = m.params.value(m.params.size() - 1);
             if (!token.startsWith(VerdictToken))
                 return;
             for (IrcInbox::Line &taken : s.m_verdicts.answeredUpTo(token.mid(VerdictToken.size()).toULongLong()))
                 s.postLine(std::move(taken));
         }},
        {"CAP", [](IrcSession &s, const IrcMessage &m) { s.handleCap(m); }},
        {"AUTHENTICATE", [](IrcSession &s, const IrcMessage &m) { s.handleSasl(m); }},
        {"900", [](IrcSession &s, const IrcMessage &m) {
             s.m_account = m.param(2);
             s.saslSucceeded();
         }},
        {"903", [](IrcSession &s, const IrcMessage &) {
             s.saslSucceeded();
             if (s.m_sasl == Sasl::LoggedIn)
                 s.endCaps();
         }},
        // 908 only lists the mechanisms the server takes.
        {"902", saslRefused}, {"904", saslRefused}, {"905", saslRefused}, {"906", saslRefused},
        {"001", [](IrcSession &s, const IrcMessage &m) { s.handleWelcome(m); }},
        {"005", [](IrcSession &s, const IrcMessage &m) { s.handleSupport(m); }},
        {"376", [](IrcSession &s, const IrcMessage &) { s.joinChannel(); }},
        {"422", [](IrcSession &s, const IrcMessage &) { s.joinChannel(); }},
        {"432", [](IrcSession &s, const IrcMessage &m) { s.handleNickRefused(m); }},
        {"433", [](IrcSession &s, const IrcMessage &m) { s.handleNickRefused(m); }},
        // Unavailable: the nick asked for, or the channel.
        {"437", [](IrcSession &s, const IrcMessage &m) {
             if (s.isChannel(m.param(1)))
                 s.joinRefused(m);
             else
                 s.handleNickRefused(m);
         }},
        {"396", [](IrcSession &s, const IrcMessage &m) { s.m_host = m.param(1); }},
        {"CHGHOST", [](IrcSession &s, const IrcMessage &m) {
             if (s.isMe(m.nick())) {
                 s.m_user = m.param(0);
                 s.m_host = m.param(1);
             }
         }},
        {"NICK", [](IrcSession &s, const IrcMessage &m) { s.handleNick(m); }},
        // ISON: those of the nicks asked for who are on.
        {"303", [](IrcSession &s, const IrcMessage &m) {
             const QStringList on = m.param(1).split(u' ', Qt::SkipEmptyParts);
             if (std::none_of(on.begin(), on.end(), [&s](const QString &nick) {
                     return s.m_accounts.sameNick(nick, s.wantedNick());
                 }))
                 s.nickFree(s.wantedNick());
         }},
        // MONITOR: nicks that went offline ("nick" or "nick!user@host").
        {"731", [](IrcSession &s, const IrcMessage &m) {
             for (const QString &target : m.param(1).split(u',', Qt::SkipEmptyParts))
                 s.nickFree(target.section(u'!', 0, 0));
         }},
        {"JOIN", [](IrcSession &s, const IrcMessage &m) { s.handleJoin(m); }},
        {"PART", [](IrcSession &s, const IrcMessage &m) { s.handlePart(m); }},
        {"KICK", [](IrcSession &s, const IrcMessage &m) { s.handleKick(m); }},
        {"QUIT", [](IrcSession &s, const IrcMessage &m) {
             s.m_accounts.forget(m.nick());
             s.notice(QStringLiteral("%1 quit%2").arg(m.nick(), because(m.param(0))));
         }},
        {"ACCOUNT", [](IrcSession &s, const IrcMessage &m) { s.m_accounts.set(m.nick(), m.param(0)); }},
        // WHO #channel %tna,1: "me 1 nick account", account 0 for none.
        {"354", [](IrcSession &s, const IrcMessage &m) {
             if (m.param(1) == u"1" && m.param(3) != u"0")
                 s.m_accounts.set(m.param(2), m.param(3));
         }},
        {"PRIVMSG", [](IrcSession &s, const IrcMessage &m) { s.handlePrivmsg(m); }},
        {"NOTICE", [](IrcSession &s, const IrcMessage &m) { s.handleNotice(m); }},
        {"TOPIC", [](IrcSession &s, const IrcMessage &m) { s.handleTopic(m); }},
        // Shown as we join, and in the status when the user asked for it.
        {"332", [](IrcSession &s, const IrcMessage &m) {
             s.handleTopic(m);
             s.showTopic(m);
         }},
        {"333", [](IrcSession &s, const IrcMessage &m) { s.handleTopic(m); }},
        {"BATCH", [](IrcSession &s, const IrcMessage &m) { s.handleBatch(m); }},
        {"403", joinRefused}, {"405", joinRefused}, {"470", joinRefused}, {"471", joinRefused},
        {"473", joinRefused}, {"474", joinRefused}, {"475", joinRefused},
        {"480", joinRefused}, {"520", joinRefused},
        // Lines refused: to the channel, to a nick, or a topic not ours to set.
        {"401", sendRefused}, {"404", sendRefused}, {"407", sendRefused}, {"442", sendRefused},
        {"482", sendRefused}, {"486", sendRefused}, {"492", sendRefused}, {"531", sendRefused},
        // In the channel these refuse a line; outside it, the join.
        {"477", inOrOut}, {"489", inOrOut},
        {"331", [](IrcSession &s, const IrcMessage &m) { s.showTopic(m); }},
    };
    if (const Handler handler = handlers.value(message.command))
        handler(*this, message);
    dropIfOverfilled(message);
}

// No real server comes near these; one that does is broken or hostile, and
// the growing waits between its links keep it from making that a loop.
void IrcSession::dropIfOverfilled(const IrcMessage &message)
{
    if (m_accounts.overflowed())
        loseLink(QStringLiteral("the server named more members' accounts than fit in %1 MB")
                     .arg(IrcAccounts::MaxBytes / (1024 * 1024)));
    // Only CAP lines change the list: other lines need not count it.
    else if (message.command == u"CAP" && m_caps.bytes() > IrcCapabilities::MaxBytes)
        loseLink(QStringLiteral("the server offered more capabilities than fit in %1 KB")
                     .arg(IrcCapabilities::MaxBytes / 1024));
}

qsizetype IrcSession::heldBytes() const
{
    return m_caps.bytes() + m_accounts.bytes() + m_reader.heldBytes() + m_pacer.protocolBytes();
}
