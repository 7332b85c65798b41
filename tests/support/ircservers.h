// Real IRC servers for the tests, each started on 127.0.0.1 at free ports
// with a configuration written into its own temporary folder, so no test
// depends on a system-wide server or on another test's.
//
// Ngircd: plain text with its default flood limits (it reads a client that
// sends too fast more slowly, and so delays what it relays), no
// capabilities, no echo.
// Inspircd: plain and TLS (a self-signed certificate for "localhost" and
// 127.0.0.1, see caFile()), IRCv3 capabilities (echo-message, message-tags,
// account-tag, extended-join, account-notify, server-time, batch, sasl),
// MONITOR, the channel history a channel with mode +H replays, and a real services
// daemon (atheme) linked to it, so accounts can be registered through
// NickServ and logged in to with SASL PLAIN.
#pragma once

#include "portclaim.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <array>
#include <functional>
#include <memory>

class TestIrcServer
{
public:
    enum class Kind { Ngircd, Inspircd };

    explicit TestIrcServer(Kind kind) : m_kind(kind) {}
    ~TestIrcServer() { stop(); }
    TestIrcServer(const TestIrcServer &) = delete;
    TestIrcServer &operator=(const TestIrcServer &) = delete;

    // Returns once the server accepts connections (and, on inspircd, its
    // services have linked); false, with the logs printed, when it could
    // not start. Should a port be taken all the same, the first start moves
    // to fresh ones; a start after stop() uses the same ports, which its
    // clients come back to. Without its services, inspircd runs as a
    // network restarted before them, until startServices().
    bool start(bool withServices = true);
    bool startServices() { return launchServices() == Launch::Ready; }
    void stop();

    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_ports[0].port(); }
    // The TLS port, 0 on ngircd.
    quint16 tlsPort() const { return m_kind == Kind::Inspircd ? m_ports[1].port() : 0; }
    // The certificate a client must trust for the TLS port.
    QString caFile() const { return m_dir.filePath(QStringLiteral("server.pem")); }

    // Registers a services account (inspircd only) by signing on as `account`
    // and asking NickServ; a client can then log in with SASL PLAIN.
    bool registerAccount(const QString &account, const QString &password);

    // Makes inspircd disconnect a client with "Excess Flood" once what it
    // sent costs over 10 s of penalty (a second a line, repaid a second a
    // second: a burst of about ten, then a line a second), as inspircd does
    // without fake lag; otherwise it takes anything. Takes effect at the next
    // start(). Ngircd with its defaults never disconnects a flooding client,
    // it only reads from it more slowly.
    void setDisconnectFlooders(bool on) { m_disconnectFlooders = on; }
    // Makes ngircd ask every client for this password (PASS); from the next start().
    void setPassword(const QString &password) { m_password = password; }

private:
    enum class Launch { Ready, PortTaken, Failed };

    Launch startOnce();
    Launch launchServices();
    Launch launch(std::unique_ptr<QProcess> &process, const QString &program, const QStringList &arguments,
                  const std::function<bool()> &ready);
    quint16 linkPort() const { return m_ports[2].port(); }

    Kind m_kind;
    QTemporaryDir m_dir;
    // Clients, TLS clients, services link; held as long as the server may run.
    std::array<PortClaim, 3> m_ports;
    int m_starts = 0;
    bool m_started = false;
    bool m_disconnectFlooders = false;
    QString m_password;
    bool m_withServices = true;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_services;
};
