// A second participant for the tests: a bare IRC client that signs on,
// says what the test tells it to and keeps every line it receives. It knows
// just enough IRC to register (CAP, SASL PLAIN, NICK/USER) and to answer
// PING, and parses nothing else, so it does not share the faults of the
// client under test.
#pragma once

#include "ircservers.h"

#include <QTcpSocket>
#include <QTest>
#include <functional>

class RawIrcClient
{
public:
    struct Options {
        QString nick{};
        QStringList caps{};  // requested with CAP REQ; registration fails on a NAK
        QString account{};   // with a password: logs in with SASL PLAIN
        QString password{};
    };

    // Connects to the plain port of `server`.
    RawIrcClient(const TestIrcServer &server, Options options) : m_options(std::move(options))
    {
        QObject::connect(&m_socket, &QTcpSocket::readyRead, &m_socket, [this] {
            m_buffer += m_socket.readAll();
            for (qsizetype end; (end = m_buffer.indexOf('\n')) >= 0; m_buffer.remove(0, end + 1)) {
                QByteArray line = m_buffer.left(end);
                if (line.endsWith('\r'))
                    line.chop(1);
                if (command(line) == "PING")
                    send("PONG :" + words(line).value(1));
                m_lines.append(line);
            }
            // A server that sends more without a line end is broken; the test should see that rather than swap.
            if (m_buffer.size() > (1 << 20))
                m_socket.abort();
        });
        m_socket.connectToHost(server.host(), server.port());
    }

    // Registers; true once the server has welcomed us.
    bool signOn()
    {
        QStringList caps = m_options.caps;
        if (!m_options.account.isEmpty())
            caps.append(QStringLiteral("sasl"));
        // Written at once: the socket sends it when connected.
        if (!caps.isEmpty())
            send("CAP REQ :" + caps.join(QLatin1Char(' ')).toUtf8());
        send("NICK " + m_options.nick.toUtf8());
        send("USER " + m_options.nick.toUtf8() + " 0 * :dun2 test participant");
        if (!caps.isEmpty() && reply({"CAP"}).value(2) != "ACK")
            return false;
        if (!m_options.account.isEmpty()) {
            send("AUTHENTICATE PLAIN");
            if (reply({"AUTHENTICATE"}).value(1) != "+")
                return false;
            const QByteArray user = m_options.account.toUtf8();
            send("AUTHENTICATE " + (user + '\0' + user + '\0' + m_options.password.toUtf8()).toBase64());
            if (reply({"903", "904", "905", "906"}).value(0) != "903")
                return false;
        }
        if (!caps.isEmpty())
            send("CAP END");
        // A refused nick or a closed link ends the wait at once, not at the deadline.
        return reply({"001", "432", "433", "ERROR"}).value(0) == "001";
    }
    // Joins and waits for the end of the channel's names list.
    bool join(const QString &channel)
    {
        send("JOIN " + channel.toUtf8());
        return !reply({"366"}).isEmpty();
    }
    void send(const QByteArray &line) { m_socket.write(line + "\r\n"); }
    // Leaves the network; true once the server has closed the link, so the
    // nick is free for whoever comes next.
    bool quit() { return send("QUIT"), !waitFor("ERROR").isEmpty(); }
    void say(const QString &channel, const QString &text)
    {
        send("PRIVMSG " + channel.toUtf8() + " :" + text.toUtf8());
    }

    // Processes events until a line after the one the previous waitFor
    // returned matches, and returns it (without CR LF); empty on timeout or
    // once disconnected with no such line.
    QByteArray waitFor(const std::function<bool(const QByteArray &)> &match, int timeoutMs = 10000)
    {
        QByteArray found;
        (void)QTest::qWaitFor([&] {
            for (qsizetype i = m_next; i < m_lines.size(); ++i) {
                if (match(m_lines[i])) {
                    m_next = i + 1;
                    return found = m_lines[i], true;
                }
            }
            return m_socket.state() == QAbstractSocket::UnconnectedState;
        }, timeoutMs);
        return found;
    }
    QByteArray waitFor(const QByteArray &part, int timeoutMs = 10000)
    {
        return waitFor([&part](const QByteArray &line) { return line.contains(part); }, timeoutMs);
    }

private:
    // The words of a line after its tags and source: the command and its
    // parameters, the trailing one without its ':'.
    static QList<QByteArray> words(QByteArray line)
    {
        for (char skipped : {'@', ':'})
            if (line.startsWith(skipped))
                line = line.mid(line.indexOf(' ') + 1);
        const qsizetype trailing = line.indexOf(" :");
        QList<QByteArray> result = line.left(trailing).split(' ');
        if (trailing >= 0)
            result.append(line.mid(trailing + 2));
        result.removeAll(QByteArray());
        return result;
    }
    static QByteArray command(const QByteArray &line) { return words(line).value(0); }
    // The words of the next line whose command is one of `commands`.
    QList<QByteArray> reply(const QList<QByteArray> &commands)
    {
        return words(waitFor([&](const QByteArray &line) { return commands.contains(command(line)); }));
    }

    Options m_options;
    QTcpSocket m_socket;
    QByteArray m_buffer;
    QList<QByteArray> m_lines;
    qsizetype m_next = 0;
};
