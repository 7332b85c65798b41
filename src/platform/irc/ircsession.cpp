#include "platform/irc/ircsession.h"

#include "platform/irc/ircmessage.h"
#include "platform/irc/ircformat.h"
#include "platform/nestedloop.h"

#include <QRandomGenerator>
#include <QSslConfiguration>
#include <QSslSocket>
#include <optional>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace {

// One read per turn of the event loop; Qt's own buffer holds no more than
// a few of them, and the rest waits in the kernel.
constexpr qint64 ReadChunk = 16 * 1024;
constexpr qint64 SocketBuffer = 64 * 1024;
constexpr int MaxNickTries = 20;
// More batches than a server nests; a line in one not kept counts as earlier.
constexpr qsizetype MaxOpenBatches = 16;
// Every server takes nicks this long.
constexpr int ShortestNickLimit = 9;
// What our prefix may take when the server has not told us yet.
constexpr int GuessedUserBytes = 10;
constexpr int GuessedHostBytes = 63;

const QString Action = QStringLiteral("\x01" "ACTION");
const QString AccountTag = QStringLiteral("account-tag");
// What the PING after one of our lines asks with, before the line's number;
// nothing else asks with it.
const QString VerdictToken = QStringLiteral("dun2-line-");

QString seconds(int ms)
{
    return QStringLiteral("%1 s").arg((ms + 999) / 1000);
}

QString lines(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 line") : QStringLiteral("%1 lines").arg(count);
}

// " (why)" after what someone did, or nothing when they gave no reason.
QString because(const QString &why)
{
    const QString plain = StripIrcFormatting(why);
    return plain.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(plain);
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

QString joinRefusal(const QString &numeric)
{
    static const QHash<QString, QString> reasons = {
        {"471", "the channel is full"},        {"473", "invite only"},
        {"474", "banned"},                     {"475", "wrong channel key"},
        {"477", "needs a registered nick"},    {"403", "no such channel"},
        {"405", "in too many channels"},       {"437", "the channel is unavailable for now"},
        {"470", "forwarded elsewhere"},        {"480", "the channel refuses this connection"},
        {"489", "needs a secure connection"}, {"520", "for operators only"}};
    return reasons.value(numeric);
}

} // namespace

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

void IrcSession::leave(const QString &reason, Left done)
{
    if (m_stopped || m_leaveDone || !m_socket || !m_linkUp) {
        stop(reason);
        return done({});
    }
    m_leaveDone = std::move(done);
    m_quitReason = reason;
    m_retryTimer.stop();
    m_joinTimer.stop();
    m_leaveTimer.start(m_timings.leaveSendMs);
    setStatus(QStringLiteral("leaving %1").arg(m_channel));
    quitWhenSent();
}

void IrcSession::quitWhenSent()
{
    if (m_leaveDone && !m_quitSent && m_pacer.channelLines() == 0)
        sendQuit();
}

// Whatever of ours is still queued stays unsaid: after a QUIT the server
// takes nothing more.
void IrcSession::sendQuit()
{
    m_quitSent = true;
    m_undelivered += takeUnsent();
    m_pacer.clear();
    if (!m_socket || !m_linkUp)
        return finishLeaving();
    if (std::optional<QByteArray> quit = IrcLine("QUIT", {m_quitReason.isEmpty() ? QStringLiteral("leaving") : m_quitReason}))
        m_socket->write(*quit + "\r\n");
    m_leaveTimer.start(m_timings.quitCloseMs);
}

void IrcSession::finishLeaving()
{
    const Left done = std::exchange(m_leaveDone, {});
    if (!done)
        return;
    m_undelivered += takeUnsent();
    m_leaveTimer.stop();
    m_stopped = true;
    dropSocket();
    m_retryTimer.stop();
    leaveChannel(QStringLiteral("left the network"));
    setStatus(QStringLiteral("stopped"));
    done(std::exchange(m_undelivered, {}));
}

QStringList IrcSession::takeUnsent()
{
    QStringList texts;
    for (std::deque<Outgoing> &unsent : m_unsent) {
        for (const Outgoing &outgoing : unsent)
            texts.append(outgoing.line.text);
        unsent.clear();
    }
    m_pacer.clearChannel();
    return texts;
}

// ---- sending

bool IrcSession::send(const QString &ircText, bool action, PostPriority priority)
{
    return queue(QStringLiteral("PRIVMSG"), m_channel, ircText, action, priority);
}

bool IrcSession::tell(const QString &command, const QString &target, const QString &text)
{
    return !isChannel(target) && queue(command, target, text, false, PostPriority::Typed);
}

// In the channel's queue, with the channel's lines: what the user says to
// a nick is as much the user's as what they say in the channel.
bool IrcSession::queue(const QString &command, const QString &target, const QString &ircText, bool action,
                       PostPriority priority)
{
    if (!m_inChannel)
        return false;
    // A line break inside would end the message; the words stay, apart.
    QString text = ircText;
    text.replace(u'\r', u' ').replace(u'\n', u' ').remove(QChar(0));
    QStringList pieces = SplitIrcText(text, pieceBytes(command, target, action));
    pieces.removeAll(QString());
    std::vector<QByteArray> lines;
    std::vector<Outgoing> shown;
    for (const QString &piece : std::as_const(pieces))
        if (std::optional<QByteArray> line =
                IrcLine(command, {target, action ? Action + u' ' + piece + u'\x01' : piece})) {
            lines.push_back(*line);
            shown.push_back({target, IrcInbox::Line{m_nick, piece, m_account, action, true}});
        }
    if (lines.empty())
        return false;
    if (!m_pacer.addChannel(lines, priority)) {
        setStatus(QStringLiteral("in %1 as %2; a line was not delivered: too much is waiting to be sent").arg(m_channel, m_nick));
        return false;
    }
    std::deque<Outgoing> &unsent = m_unsent[std::size_t(priority)];
    unsent.insert(unsent.end(), shown.begin(), shown.end());
    pump();
    return true;
}

bool IrcSession::changeNick(const QString &nick)
{
    return m_registered && sendProtocol("NICK", {nick});
}

bool IrcSession::topic(const std::optional<QString> &text)
{
    if (!m_inChannel)
        return false;
    m_topicAsked = !text;
    return sendProtocol("TOPIC", text ? QStringList{m_channel, *text} : QStringList{m_channel});
}

int IrcSession::pieceBytes(const QString &command, const QString &target, bool action) const
{
    const qsizetype user = m_user.isEmpty() ? GuessedUserBytes : m_user.toUtf8().size();
    const qsizetype host = m_host.isEmpty() ? GuessedHostBytes : m_host.toUtf8().size();
    // ":nick!user@host PRIVMSG #channel :" and CR LF, as others receive it.
    const qsizetype prefix = 1 + m_nick.toUtf8().size() + 1 + user + 1 + host + 1;
    const qsizetype head = QStringLiteral("%1 %2 :").arg(command, target).toUtf8().size();
    const qsizetype ctcp = action ? Action.size() + 2 : 0;
    return int(std::max<qsizetype>(32, 512 - 2 - prefix - head - ctcp));
}

bool IrcSession::sendProtocol(const QString &command, const QStringList &params)
{
    const std::optional<QByteArray> line = IrcLine(command, params);
    if (!line || !m_pacer.addProtocol(*line))
        return false;
    pump();
    return true;
}

void IrcSession::pump()
{
    if (!m_socket || !m_linkUp)
        return;
    std::optional<PostPriority> channelClass;
    while (std::optional<QByteArray> line = m_pacer.take(&channelClass)) {
        m_socket->write(*line + "\r\n");
        if (!channelClass || m_unsent[std::size_t(*channelClass)].empty())
            continue;
        std::deque<Outgoing> &unsent = m_unsent[std::size_t(*channelClass)];
        Outgoing said = std::move(unsent.front());
        unsent.pop_front();
        const quint64 number =
            m_verdicts.sent(said.target, said.line.action ? QStringLiteral("/me ") + said.line.text : said.line.text);
        if (hasCap(QStringLiteral("echo-message")))
            continue;
        // Its answer comes after the server's verdict on the line.
        m_socket->write("PING :" + VerdictToken.toLatin1() + QByteArray::number(number) + "\r\n");
        // Shown once it is on its way, not while it may still be lost with the link.
        if (isChannel(said.target))
            postLine(std::move(said.line));
    }
    if (const qint64 wait = m_pacer.msUntilNext(); wait >= 0)
        m_sendTimer.start(int(wait));
    quitWhenSent();
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
             if (token.startsWith(VerdictToken))
                 s.m_verdicts.answeredUpTo(token.mid(VerdictToken.size()).toULongLong());
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

void IrcSession::handleCap(const IrcMessage &message)
{
    const QString sub = message.param(1).toUpper();
    const QStringList caps = message.params.value(message.params.size() - 1).split(u' ', Qt::SkipEmptyParts);
    const bool vouched = vouchesForAccounts();
    if (sub == u"LS" && !m_capsDone) {
        m_caps.offer(caps);
        if (message.param(2) == u"*" && message.params.size() > 3)
            return;
        requestCaps();
    } else if (sub == u"ACK") {
        m_caps.acknowledge(caps);
        if (m_capsDone)
            return capsChangedFrom(vouched);
        if (!m_login.password.isEmpty() && !hasCap("sasl"))
            return loginFailed(QStringLiteral("the server refused SASL login, and a password was given"));
        if (m_login.password.isEmpty())
            return endCaps();
        m_sasl = Sasl::Exchanging;
        sendProtocol("AUTHENTICATE", {"PLAIN"});
    } else if (sub == u"NAK" && !m_capsDone) {
        if (!m_login.password.isEmpty())
            return loginFailed(QStringLiteral("the server refused SASL login, and a password was given"));
        endCaps();
    } else if (sub == u"NEW") {
        m_caps.offer(caps);
        if (m_capsDone)
            if (const QStringList request = m_caps.wanted(caps, !m_login.password.isEmpty()); !request.isEmpty())
                sendProtocol("CAP", {"REQ", request.join(u' ')});
    } else if (sub == u"DEL") {
        const QStringList gone = m_caps.withdraw(caps);
        // Whoever logs out meanwhile would keep the account known here.
        if (gone.contains(u"account-notify") || gone.contains(u"extended-join"))
            m_accounts.clear();
        capsChangedFrom(vouched);
    }
}

void IrcSession::capsChangedFrom(bool vouched)
{
    if (vouchesForAccounts() == vouched)
        return;
    // Those who joined while the server told nothing are learnt anew.
    if (vouchesForAccounts() && m_inChannel && m_whox && !hasCap(AccountTag))
        sendProtocol("WHO", {m_channel, "%tna,1"});
    emit vouchingChanged(vouchesForAccounts());
}

void IrcSession::requestCaps()
{
    if (!m_login.password.isEmpty()) {
        const QString sasl = m_caps.offered(QStringLiteral("sasl"));
        if (sasl.isEmpty())
            return loginFailed(QStringLiteral("the server offers no SASL login, and a password was given"));
        // "sasl=EXTERNAL,PLAIN" lists the mechanisms; a bare "sasl" may take any.
        if (sasl.contains(u'=') && !sasl.section(u'=', 1).split(u',').contains(u"PLAIN"))
            return loginFailed(QStringLiteral("the server does not take SASL PLAIN logins"));
    }
    const QStringList request = m_caps.wanted(!m_login.password.isEmpty());
    if (request.isEmpty())
        return endCaps();
    sendProtocol("CAP", {"REQ", request.join(u' ')});
}

void IrcSession::handleSasl(const IrcMessage &message)
{
    if (message.param(0) != u"+" || m_sasl != Sasl::Exchanging)
        return;
    const QString account = m_login.account.isEmpty() ? m_login.nick : m_login.account;
    const QByteArray plain = (account + QChar(0) + account + QChar(0) + m_login.password).toUtf8().toBase64();
    constexpr qsizetype Chunk = 400;
    for (qsizetype from = 0; from < plain.size(); from += Chunk)
        sendProtocol("AUTHENTICATE", {QString::fromLatin1(plain.mid(from, Chunk))});
    // A last chunk of exactly 400 bytes says more may come; "+" says no more.
    if (plain.size() % Chunk == 0)
        sendProtocol("AUTHENTICATE", {"+"});
}

// Outside our own exchange these answer no question of ours.
void IrcSession::saslRefused(const IrcMessage &message)
{
    if (m_sasl != Sasl::Exchanging)
        return;
    const QString text = message.param(message.params.size() - 1);
    loginFailed(QStringLiteral("SASL login refused: %1 (%2)").arg(text, message.command));
}

void IrcSession::saslSucceeded()
{
    if (m_sasl != Sasl::Exchanging)
        return;
    m_sasl = Sasl::LoggedIn;
    m_loginWorked = true;
}

// Before a login has worked the password may be wrong, and trying it again
// would not mend that. Once one has, a refusal means the network lacks its
// services for a while (restarted before them, split from them).
void IrcSession::loginFailed(const QString &why)
{
    if (!m_loginWorked)
        return fail(why);
    dropSocket();
    retryLater(QStringLiteral("can't log in (%1)").arg(why), RetryAction::Connect, nextDelay());
}

void IrcSession::endCaps()
{
    if (std::exchange(m_capsDone, true))
        return;
    sendProtocol("CAP", {"END"});
}

void IrcSession::handleWelcome(const IrcMessage &message)
{
    if (m_registered)
        return;
    // A server that knows no CAP registers us at once.
    m_capsDone = true;
    // With a password, a welcome before the login is done would take us
    // into the channel logged in to nothing.
    if (!m_login.password.isEmpty() && m_sasl != Sasl::LoggedIn)
        return loginFailed(hasCap("sasl")
                               ? QStringLiteral("the server let us in before the SASL login was done")
                               : QStringLiteral("the server offers no SASL login, and a password was given"));
    m_registered = true;
    m_registerTimer.stop();
    m_joinTimer.start(m_timings.motdWaitMs);
    if (!message.param(0).isEmpty())
        setNick(message.param(0));
    setStatus(QStringLiteral("registered as %1; joining %2").arg(m_nick, m_channel));
    emit registered();
}

void IrcSession::handleSupport(const IrcMessage &message)
{
    for (const QString &token : message.params.mid(1, message.params.size() - 2)) {
        const QString key = token.section(u'=', 0, 0);
        const QString value = token.section(u'=', 1);
        if (key == u"CASEMAPPING")
            m_accounts.setCaseMapping(value);
        else if (key == u"WHOX")
            m_whox = true;
        else if (key == u"MONITOR")
            m_monitor = true;
        else if (key == u"NICKLEN" && value.toInt() >= ShortestNickLimit)
            m_nickLength = value.toInt();
        else if (key == u"CHANTYPES")
            m_chanTypes = value;
    }
}

void IrcSession::handleNickRefused(const IrcMessage &message)
{
    if (m_registered) {
        setStatus(QStringLiteral("%1the nick %2 was refused (%3)")
                      .arg(m_inChannel ? QStringLiteral("in %1 as %2; ").arg(m_channel, m_nick) : QString(),
                           message.param(1), message.params.last().left(200)));
        return;
    }
    if (++m_nickTries > MaxNickTries)
        return fail(QStringLiteral("the server took none of the nicks tried (%1)").arg(message.param(2)));
    // Too long, perhaps: the shortest limit any server has.
    if (message.command == u"432" && m_nick.size() > ShortestNickLimit)
        m_nickLength = ShortestNickLimit;
    // A server that cuts nicks to its length names the cut one it refused:
    // the fallbacks must fit in that length, or they are cut back to it.
    if (const QString refused = message.param(1);
        !refused.isEmpty() && refused.size() < m_nick.size() && m_nick.startsWith(refused, Qt::CaseInsensitive))
        m_nickLength = int(refused.size());
    const auto fallback = [this](int tries) {
        const QString suffix = tries == 1 ? QStringLiteral("_") : QString::number(tries);
        return m_login.nick.left(std::max<qsizetype>(1, m_nickLength - suffix.size())) + suffix;
    };
    QString next = fallback(m_nickTries);
    if (m_accounts.sameNick(next, m_login.othersNick))
        next = fallback(++m_nickTries);
    setStatus(QStringLiteral("nick %1 refused (%2); trying %3").arg(m_nick, message.param(2), next));
    m_nick = next;
    sendProtocol("NICK", {next});
}

void IrcSession::setNick(const QString &nick)
{
    m_nick = nick;
    if (m_registered && nick != m_reportedNick) {
        m_reportedNick = nick;
        post(IrcInbox::NickChanged{nick});
    }
}

void IrcSession::handleNick(const IrcMessage &message)
{
    const QString from = message.nick();
    m_accounts.rename(from, message.param(0));
    if (!isMe(from))
        return notice(QStringLiteral("%1 is now known as %2").arg(from, message.param(0)));
    if (message.param(0).isEmpty())
        return;
    setNick(message.param(0));
    if (m_inChannel)
        setStatus(QStringLiteral("in %1 as %2").arg(m_channel, m_nick));
    if (isMe(wantedNick()) && std::exchange(m_nickWatched, false)) {
        m_nickTimer.stop();
        if (m_monitor)
            sendProtocol("MONITOR", {"-", wantedNick()});
    }
}

// Under a fallback nick, ours is taken back as soon as it is free: the
// server says so (MONITOR), or is asked now and then (ISON).
void IrcSession::watchNick()
{
    if (!m_registered || m_nickWatched || isMe(wantedNick()))
        return;
    m_nickWatched = true;
    if (m_monitor) {
        sendProtocol("MONITOR", {"+", wantedNick()});
        return;
    }
    m_nickTimer.start(m_timings.nickCheckMs);
}

void IrcSession::nickFree(const QString &nick)
{
    if (m_nickWatched && m_accounts.sameNick(nick, wantedNick()) && !isMe(nick))
        sendProtocol("NICK", {wantedNick()});
}

void IrcSession::joinChannel()
{
    watchNick();
    if (m_stopped || !m_registered || m_inChannel)
        return;
    m_joinSent = true;
    m_joinTimer.start(m_timings.joinAnswerMs);
    sendProtocol("JOIN", m_channelKey.isEmpty() ? QStringList{m_channel} : QStringList{m_channel, m_channelKey});
}

// Whatever kept us out (a refusal we do not know, a JOIN the server
// ignored, a MOTD that never ends), a planned retry or this timer is always
// running while registered and outside the channel.
void IrcSession::joinTimedOut()
{
    if (m_stopped || !m_registered || m_inChannel || m_retryTimer.isActive())
        return;
    if (!m_joinSent)
        return joinChannel();
    retryLater(QStringLiteral("can't join %1: no answer from the server").arg(m_channel), RetryAction::Join, nextDelay());
}

void IrcSession::handleJoin(const IrcMessage &message)
{
    if (!isChannel(message.param(0)))
        return;
    const QString nick = message.nick();
    if (hasCap("extended-join") && message.params.size() > 1)
        m_accounts.set(nick, message.param(1));
    else
        m_accounts.forget(nick);
    if (!isMe(nick))
        return notice(QStringLiteral("%1 joined %2").arg(nick, m_channel));
    if (m_inChannel)
        return;
    learnPrefix(message.source);
    m_joinedAt = QDateTime::fromString(message.tag("time").value_or(QString()), Qt::ISODateWithMs);
    m_inChannel = true;
    m_retryTimer.stop();
    m_joinTimer.stop();
    m_stableTimer.start(m_timings.stableMs);
    setStatus(QStringLiteral("in %1 as %2").arg(m_channel, m_nick));
    post(IrcInbox::Joined{});
    if (m_whox)
        sendProtocol("WHO", {m_channel, "%tna,1"});
}

void IrcSession::handlePart(const IrcMessage &message)
{
    if (!isChannel(message.param(0)))
        return;
    m_accounts.forget(message.nick());
    // Parted by the network, not by us: like a kick.
    if (isMe(message.nick()))
        removedFromChannel(QStringLiteral("removed from %1 by the server").arg(m_channel));
    else
        notice(QStringLiteral("%1 left %2%3").arg(message.nick(), m_channel, because(message.param(1))));
}

void IrcSession::handleKick(const IrcMessage &message)
{
    if (!isChannel(message.param(0)))
        return;
    const QString victim = message.param(1);
    m_accounts.forget(victim);
    if (!isMe(victim))
        return notice(QStringLiteral("%1 was kicked from %2 by %3%4")
                          .arg(victim, m_channel, message.nick(), because(message.param(2))));
    QString why = QStringLiteral("kicked from %1 by %2").arg(m_channel, message.nick());
    if (!message.param(2).isEmpty())
        why += QStringLiteral(" (%1)").arg(message.param(2));
    removedFromChannel(why);
}

void IrcSession::removedFromChannel(const QString &reason)
{
    const QString why = leaveChannel(reason);
    // One rejoin after a pause; whoever removes us again waits longer each time.
    const int delay = m_kickRejoinUsed ? nextDelay() : m_timings.kickRejoinMs;
    m_kickRejoinUsed = true;
    retryLater(why, RetryAction::Join, delay);
}

void IrcSession::joinRefused(const IrcMessage &message)
{
    if (!isChannel(message.param(1)) || m_inChannel)
        return;
    const QString why = QStringLiteral("can't join %1: %2 (%3)").arg(m_channel, joinRefusal(message.command), message.command);
    retryLater(why, RetryAction::Join, nextDelay());
}

// Returns the reason, with how many of our lines it kept from being sent.
QString IrcSession::leaveChannel(const QString &why)
{
    for (std::deque<Outgoing> &unsent : m_unsent)
        unsent.clear();
    const qsizetype dropped = m_pacer.clearChannel();
    const QString said = dropped == 0 ? why : QStringLiteral("%1; %2 of ours not delivered").arg(why, lines(dropped));
    if (!std::exchange(m_inChannel, false))
        return said;
    m_stableTimer.stop();
    m_accounts.clear();
    post(IrcInbox::Left{said});
    return said;
}

void IrcSession::handlePrivmsg(const IrcMessage &message)
{
    if (isMe(message.nick()))
        m_verdicts.echoed(message.param(0));
    const bool privately = !isChannel(message.param(0));
    if ((privately && !isMe(message.param(0))) || message.params.size() < 2)
        return;
    const QString nick = message.nick();
    QString text = message.param(1);
    bool action = false;
    if (text.startsWith(u'\x01')) {
        // Some clients leave the closing \x01 off.
        if (text.endsWith(u'\x01') && text.size() > 1)
            text.chop(1);
        // Any other CTCP is a query to answer, never a line.
        if (text != Action && !text.startsWith(Action + u' '))
            return answerCtcp(nick, text.mid(1));
        text = text.mid(Action.size() + 1);
        action = true;
    }
    // Outside the channel there is no room for a private line to be shown in.
    if (privately && !m_inChannel)
        return;
    // With account-tag the server tags every line of a logged-in sender, so
    // a line without the tag is logged in to nothing, whatever was known of
    // the nick before: a sender outside the channel may have quit unseen and
    // left the nick to someone else. What is known of the channel's members
    // serves only servers without the tag.
    const QString account = hasCap(AccountTag)       ? message.tag("account").value_or(QString())
                            : vouchesForAccounts() ? m_accounts.account(nick)
                                                   : QString();
    postLine(IrcInbox::Line{nick, text, account, action, isMe(nick), saidBeforeWeJoined(message), privately});
}

// Answered to the nick that asked, whether it asked us or the channel.
void IrcSession::answerCtcp(const QString &nick, const QString &query)
{
    // A server's name holds a dot, which no nick does.
    if (!m_registered || nick.isEmpty() || isMe(nick) || nick.contains(u'.'))
        return;
    if (const std::optional<QString> answer = m_ctcp.answer(m_accounts.fold(nick), query))
        sendProtocol("NOTICE", {nick, u'\x01' + *answer + u'\x01'});
}

void IrcSession::handleNotice(const IrcMessage &message)
{
    const bool privately = !isChannel(message.param(0));
    // Our own come back with echo-message; those before we joined have no room.
    if ((privately && !isMe(message.param(0))) || isMe(message.nick()) || message.params.size() < 2)
        return;
    const QString from = message.nick().isEmpty() ? QStringLiteral("the server") : message.nick();
    const QString text = StripIrcFormatting(message.param(1)).remove(u'\x01');
    notice(privately ? QStringLiteral("notice from %1: %2").arg(from, text)
                     : QStringLiteral("notice from %1 to %2: %3").arg(from, m_channel, text));
}

// The topic as we join (332, then who set it and when: 333) and as it changes.
void IrcSession::handleTopic(const IrcMessage &message)
{
    const bool change = message.command == u"TOPIC";
    if (!isChannel(message.param(change ? 0 : 1)))
        return;
    const QString topic = StripIrcFormatting(message.param(change ? 1 : 2));
    if (message.command == u"332") {
        notice(QStringLiteral("the topic of %1: %2").arg(m_channel, topic));
    } else if (message.command == u"333") {
        bool isTime = false;
        const qint64 at = message.param(3).toLongLong(&isTime);
        const QString when = isTime ? QDateTime::fromSecsSinceEpoch(at, Qt::UTC).toString(u"yyyy-MM-dd HH:mm 'UTC'")
                                    : QString();
        notice(QStringLiteral("topic set by %1%2").arg(message.param(2).section(u'!', 0, 0),
                                                         when.isEmpty() ? QString() : " on " + when));
    } else if (topic.isEmpty()) {
        notice(QStringLiteral("%1 cleared the topic of %2").arg(message.nick(), m_channel));
    } else {
        notice(QStringLiteral("%1 set the topic of %2: %3").arg(message.nick(), m_channel, topic));
    }
}

void IrcSession::sendRefused(const IrcMessage &message)
{
    const QString target = message.param(1);
    // Cut: a server's reason is data, and a status line is one line.
    const QString why = message.params.size() > 2 ? message.params.last().left(200) : message.command;
    QString what = QStringLiteral("a line was not delivered to %1").arg(target);
    if (message.command == u"482" || message.command == u"442")
        what = QStringLiteral("the topic of %1 was not set").arg(target);
    else if (const std::optional<QString> line = m_verdicts.refused(target); line && isChannel(target))
        what = QStringLiteral("not delivered to %1: \"%2\"").arg(target, line->size() > 80 ? line->left(79) + u'…' : *line);
    // What went to a nick (a password for services, say) is not repeated.
    setStatus(QStringLiteral("%1%2 (%3)")
                  .arg(m_inChannel ? QStringLiteral("in %1 as %2; ").arg(m_channel, m_nick) : QString(), what, why));
}

void IrcSession::showTopic(const IrcMessage &message)
{
    if (!std::exchange(m_topicAsked, false) || !isChannel(message.param(1)))
        return;
    const QString topic = message.command == u"331" ? QStringLiteral("no topic is set")
                                                    : QStringLiteral("the topic is: %1").arg(message.param(2).left(400));
    setStatus(QStringLiteral("in %1 as %2; %3").arg(m_channel, m_nick, topic));
}

void IrcSession::handleBatch(const IrcMessage &message)
{
    const QString reference = message.param(0);
    if (reference.startsWith(u'-'))
        m_batches.remove(reference.mid(1));
    else if (reference.startsWith(u'+') && m_batches.size() < MaxOpenBatches)
        m_batches.insert(reference.mid(1), message.param(1));
}

// A server replays the channel's history on joining (chathistory), a
// bouncer what was said while its user was away; either would otherwise
// run old commands again, an old exit among them.
bool IrcSession::saidBeforeWeJoined(const IrcMessage &message) const
{
    if (const std::optional<QString> batch = message.tag("batch")) {
        // Only these come in batches with what is asked for; one not kept
        // may be anything, and is not taken for live.
        const QString type = m_batches.value(*batch);
        return type.isEmpty() || type == u"chathistory" || type == u"znc.in/playback";
    }
    if (m_joinedAt.isNull())
        return false;
    const QDateTime said = QDateTime::fromString(message.tag("time").value_or(QString()), Qt::ISODateWithMs);
    return said.isValid() && said < m_joinedAt;
}

bool IrcSession::isChannel(const QString &target) const
{
    return !target.isEmpty() && m_chanTypes.contains(target[0]) && m_accounts.sameNick(target, m_channel);
}

void IrcSession::learnPrefix(const QString &source)
{
    const qsizetype bang = source.indexOf(u'!');
    const qsizetype at = source.indexOf(u'@', bang + 1);
    if (bang < 0 || at < 0)
        return;
    m_user = source.mid(bang + 1, at - bang - 1);
    m_host = source.mid(at + 1);
}

// ---- the listeners

void IrcSession::post(IrcInbox::Event event)
{
    m_inbox.post(std::move(event));
    deliverLater();
}

void IrcSession::postLine(IrcInbox::Line line)
{
    m_inbox.postLine(std::move(line));
    deliverLater();
}

void IrcSession::notice(const QString &text)
{
    if (!m_inChannel)
        return;
    m_inbox.postNotice({text});
    deliverLater();
}

void IrcSession::deliverLater()
{
    if (!m_inbox.isEmpty() && !std::exchange(m_deliveryQueued, true))
        QMetaObject::invokeMethod(this, &IrcSession::deliver, Qt::QueuedConnection);
}

void IrcSession::deliver()
{
    m_deliveryQueued = false;
    if (m_inbox.isEmpty())
        return;
    // Shut now, perhaps after the link's reading paused for the listeners.
    if (!LineGate::isOpen())
        return readLater();
    const std::optional<IrcInbox::Event> event = m_inbox.take();
    // Both queued before the event goes out: a listener that waits takes
    // the next one inside its wait, and may even stop the session.
    deliverLater();
    readLater();
    if (const auto *line = std::get_if<IrcInbox::Line>(&*event); line && line->privately)
        emit privateLine(line->nick, line->text, line->action, line->account, line->earlier);
    else if (line)
        emit channelLine(line->nick, line->text, line->action, line->account, line->own, line->earlier);
    else if (const auto *shown = std::get_if<IrcInbox::Notice>(&*event))
        emit noticed(shown->text);
    else if (std::holds_alternative<IrcInbox::Joined>(*event))
        emit joined(m_channel);
    else if (const auto *left = std::get_if<IrcInbox::Left>(&*event))
        emit this->left(left->why);
    else if (const auto *changed = std::get_if<IrcInbox::NickChanged>(&*event))
        emit nickChanged(changed->nick);
    else if (const auto *skipped = std::get_if<IrcInbox::Skipped>(&*event))
        setStatus(QStringLiteral("%1%2 of %3 skipped: too many were waiting for the player")
                      .arg(m_inChannel ? QStringLiteral("in %1 as %2; ").arg(m_channel, m_nick) : QString(),
                           lines(skipped->count), m_channel));
}
