// A server played line by line, for the steps no real server does on
// demand (endless lines, silence, numerics out of turn); a test that uses
// it says which step that is.
#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <memory>
#include <utility>
#include <vector>

class ScriptedServer
{
public:
    ScriptedServer() { m_server.listen(QHostAddress::LocalHost); }
    quint16 port() const { return m_server.serverPort(); }

    // The next line from the client that holds `part`; empty after 10 s.
    QByteArray waitFor(const QByteArray &part)
    {
        QByteArray found;
        const bool seen = QTest::qWaitFor([&] {
            if (m_server.hasPendingConnections())
                m_client.reset(m_server.nextPendingConnection());
            while (m_client && m_client->canReadLine()) {
                const QByteArray line = m_client->readLine().trimmed();
                if (line.contains(part))
                    return found = line, true;
            }
            return false;
        }, 10000);
        return seen ? found : QByteArray();
    }
    void send(const QByteArray &bytes) { m_client->write(bytes); }
    // Closes the link, as a server does when it restarts.
    void drop() { m_client->disconnectFromHost(); }

    // Each line of the client's that holds the first of a pair waited for,
    // then answered with the second.
    bool play(const std::vector<std::pair<QByteArray, QByteArray>> &script)
    {
        for (const auto &[heard, answer] : script) {
            if (waitFor(heard).isEmpty())
                return false;
            send(answer);
        }
        return true;
    }
    // Registers the client without capabilities and joins it to the channel.
    bool welcome()
    {
        return play({{"CAP LS", ":irc.test CAP * LS :\r\n"},
                     {"CAP END", ":irc.test 001 ceo :Welcome\r\n:irc.test 376 ceo :End of MOTD\r\n"},
                     {"JOIN #music", ":ceo!~u@test JOIN #music\r\n"}});
    }

private:
    QTcpServer m_server;
    std::unique_ptr<QTcpSocket> m_client;
};

