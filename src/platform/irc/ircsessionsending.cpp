// The session's sending side: our lines and the server's replies, paced,
// and leaving with what is queued.
#include "platform/irc/ircsession.h"

#include "platform/irc/ircformat.h"
#include "platform/irc/ircmessage.h"
#include "platform/irc/ircsessionparts.h"

#include <QSslSocket>

using namespace IrcSessionParts;

namespace {

// What our prefix may take when the server has not told us yet.
constexpr int GuessedUserBytes = 10;
constexpr int GuessedHostBytes = 63;

} // namespace

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
        const QString text = said.line.action ? QStringLiteral("/me ") + said.line.text : said.line.text;
        if (hasCap(QStringLiteral("echo-message"))) {
            m_verdicts.sent(said.target, text);
            continue;
        }
        // Without an echo, the answer to this PING, which comes after the
        // server's verdict on the line, is what shows it as said.
        const bool shown = isChannel(said.target);
        const quint64 number = m_verdicts.sent(said.target, text, shown ? std::optional(std::move(said.line)) : std::nullopt);
        m_socket->write("PING :" + VerdictToken.toLatin1() + QByteArray::number(number) + "\r\n");
    }
    if (const qint64 wait = m_pacer.msUntilNext(); wait >= 0)
        m_sendTimer.start(int(wait));
    quitWhenSent();
}

