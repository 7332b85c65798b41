#include "rawircclient.h"

#include "ircservers.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace {

// A test participant has no use for more; a server that sends more without a
// line end is broken, and the test should see that rather than swap.
constexpr qsizetype MaxPending = 1 << 20;

// The words of a line after its tags and source: the command and its
// parameters, the trailing one without its ':'.
QList<QByteArray> words(QByteArray line)
{
    if (line.startsWith('@'))
        line = line.mid(line.indexOf(' ') + 1);
    if (line.startsWith(':'))
        line = line.mid(line.indexOf(' ') + 1);
    const qsizetype trailing = line.indexOf(" :");
    QList<QByteArray> result = line.left(trailing).split(' ');
    if (trailing >= 0)
        result.append(line.mid(trailing + 2));
    result.removeAll(QByteArray());
    return result;
}

QByteArray command(const QByteArray &line)
{
    return words(line).value(0);
}

} // namespace

RawIrcClient::RawIrcClient(const TestIrcServer &server, Options options)
    : m_host(server.host()), m_port(server.port()), m_options(std::move(options))
{
    connect(&m_socket, &QTcpSocket::readyRead, this, &RawIrcClient::readLines);
    connect(&m_socket, &QAbstractSocket::connected, this, [this] { m_wasConnected = true; });
}

bool RawIrcClient::signOn(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    m_socket.connectToHost(m_host, m_port);
    QStringList caps = m_options.caps;
    const bool sasl = !m_options.account.isEmpty();
    if (sasl)
        caps.append(QStringLiteral("sasl"));
    // Written at once: the socket sends it when connected.
    if (!caps.isEmpty())
        send("CAP REQ :" + caps.join(QLatin1Char(' ')).toUtf8());
    send("NICK " + m_options.nick.toUtf8());
    send("USER " + m_options.nick.toUtf8() + " 0 * :dun2 test participant");
    auto remaining = [&deadline] { return int(deadline.remainingTime()); };
    if (!caps.isEmpty()) {
        const QByteArray reply = waitFor([](const QByteArray &l) {
            const QList<QByteArray> w = words(l);
            return w.size() > 2 && w[0] == "CAP" && (w[2] == "ACK" || w[2] == "NAK");
        }, remaining());
        if (words(reply).value(2) != "ACK")
            return false;
    }
    if (sasl) {
        send("AUTHENTICATE PLAIN");
        if (words(waitFor([](const QByteArray &l) { return command(l) == "AUTHENTICATE"; }, remaining())).value(1)
            != "+")
            return false;
        const QByteArray user = m_options.account.toUtf8();
        send("AUTHENTICATE " + (user + '\0' + user + '\0' + m_options.password.toUtf8()).toBase64());
        const QByteArray result = waitFor([](const QByteArray &l) {
            const QByteArray c = command(l);
            return c == "903" || c == "904" || c == "905" || c == "906";
        }, remaining());
        if (command(result) != "903")
            return false;
    }
    if (!caps.isEmpty())
        send("CAP END");
    // A refused nick or a closed link ends the wait at once, not at the deadline.
    const QByteArray reply = waitFor([](const QByteArray &l) {
        const QByteArray c = command(l);
        return c == "001" || c == "432" || c == "433" || c == "ERROR";
    }, remaining());
    return command(reply) == "001";
}

bool RawIrcClient::join(const QString &channel, int timeoutMs)
{
    send("JOIN " + channel.toUtf8());
    const QByteArray end = waitFor([&channel](const QByteArray &l) {
        const QList<QByteArray> w = words(l);
        return w.value(0) == "366" && QString::fromUtf8(w.value(2)).compare(channel, Qt::CaseInsensitive) == 0;
    }, timeoutMs);
    return !end.isEmpty();
}

void RawIrcClient::send(const QByteArray &line)
{
    m_socket.write(line + "\r\n");
}

void RawIrcClient::say(const QString &channel, const QString &text)
{
    send("PRIVMSG " + channel.toUtf8() + " :" + text.toUtf8());
}

QByteArray RawIrcClient::waitFor(const std::function<bool(const QByteArray &)> &match, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (qsizetype i = m_next;;) {
        for (; i < m_lines.size(); ++i) {
            if (match(m_lines[i])) {
                m_next = i + 1;
                return m_lines[i];
            }
        }
        if (deadline.hasExpired() || m_socket.state() == QAbstractSocket::UnconnectedState)
            return {};
        QEventLoop loop;
        connect(&m_socket, &QTcpSocket::readyRead, &loop, &QEventLoop::quit);
        connect(&m_socket, &QAbstractSocket::disconnected, &loop, &QEventLoop::quit);
        connect(&m_socket, &QAbstractSocket::errorOccurred, &loop, &QEventLoop::quit);
        QTimer::singleShot(deadline.remainingTime(), &loop, &QEventLoop::quit);
        loop.exec();
    }
}

QByteArray RawIrcClient::waitFor(const QByteArray &part, int timeoutMs)
{
    return waitFor([&part](const QByteArray &line) { return line.contains(part); }, timeoutMs);
}

void RawIrcClient::readLines()
{
    m_buffer += m_socket.readAll();
    for (qsizetype end; (end = m_buffer.indexOf('\n')) >= 0;) {
        QByteArray line = m_buffer.left(end);
        m_buffer.remove(0, end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (command(line) == "PING")
            send("PONG :" + words(line).value(1));
        m_lines.append(line);
    }
    if (m_buffer.size() > MaxPending) {
        qWarning("RawIrcClient: the server sent a line without an end over %lld bytes", qlonglong(MaxPending));
        m_socket.abort();
    }
}
