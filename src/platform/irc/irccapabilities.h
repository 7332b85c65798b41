// What an IRC server offers of the IRCv3 capabilities and what this client
// holds of them, followed as the server offers more (CAP NEW) or withdraws
// some (CAP DEL). Only what the session reads is ever asked for: each
// capability changes what the server sends.
#pragma once

#include <QSet>
#include <QStringList>

class IrcCapabilities
{
public:
    // Far more than any server offers; a server that offers more is dropped.
    static constexpr qsizetype MaxBytes = 32 * 1024;

    void offer(const QStringList &caps) { m_offered += caps; }
    // How the server offered it ("sasl=PLAIN,EXTERNAL"), "" when it did not.
    QString offered(const QString &name) const;
    // Which of `offers` to ask for, sasl only when logging in.
    QStringList wanted(const QStringList &offers, bool sasl) const;
    QStringList wanted(bool sasl) const { return wanted(m_offered, sasl); }
    // An ACK; "-name" gives one up.
    void acknowledge(const QStringList &caps);
    // A DEL; the names this client held and no longer does.
    QStringList withdraw(const QStringList &caps);

    bool has(const QString &cap) const { return m_held.contains(cap); }
    // Whether a line's account is the server's word: it tags every line
    // (account-tag), or tells of every member's login (extended-join with
    // account-notify). Once account-tag is withdrawn, no line is vouched for
    // until it is back, since the members' logins were never followed.
    bool vouchesForAccounts() const;
    qsizetype bytes() const;
    void clear() { *this = IrcCapabilities(); }

private:
    QStringList m_offered;
    QSet<QString> m_held;
    bool m_accountTagWithdrawn = false;
};
