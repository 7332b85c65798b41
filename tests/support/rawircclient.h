// A second participant for the tests: a bare IRC client that signs on,
// says what the test tells it to and keeps every line it receives. It knows
// just enough IRC to register (CAP, SASL PLAIN, NICK/USER) and to answer
// PING, and parses nothing else, so it does not share the faults of the
// client under test.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTcpSocket>
#include <functional>

class TestIrcServer;

class RawIrcClient : public QObject
{
    Q_OBJECT

public:
    struct Options {
        QString nick{};
        QStringList caps{};  // requested with CAP REQ; registration fails on a NAK
        QString account{};   // with a password: logs in with SASL PLAIN
        QString password{};
    };

    // Connects to the plain port of `server`.
    RawIrcClient(const TestIrcServer &server, Options options);

    // Connects and registers; true once the server has welcomed us.
    bool signOn(int timeoutMs = 15000);
    // Joins and waits for the end of the channel's names list.
    bool join(const QString &channel, int timeoutMs = 10000);
    void send(const QByteArray &line);
    void say(const QString &channel, const QString &text);

    // Processes events until a line after the one the previous waitFor
    // returned matches, and returns it (without CR LF); empty on timeout or
    // once disconnected with no such line.
    QByteArray waitFor(const std::function<bool(const QByteArray &)> &match, int timeoutMs = 10000);
    QByteArray waitFor(const QByteArray &part, int timeoutMs = 10000);

    // Whether a connection that was up has been lost (the server closed it).
    bool wasDisconnected() const { return m_wasConnected && m_socket.state() != QAbstractSocket::ConnectedState; }

private:
    void readLines();

    QString m_host;
    quint16 m_port;
    Options m_options;
    QTcpSocket m_socket;
    QByteArray m_buffer;
    QList<QByteArray> m_lines;
    qsizetype m_next = 0;
    bool m_wasConnected = false;
};
