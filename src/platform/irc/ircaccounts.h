// Which services account the server vouches for, per nick in the channel.
// Nicks compare as the server compares them (CASEMAPPING): under rfc1459
// "Ceo[1]" and "ceo{1}" are one nick, so a look-alike never inherits or
// escapes an account.
#pragma once

#include <QHash>
#include <QString>

class IrcAccounts
{
public:
    enum class CaseMapping { Ascii, Rfc1459, StrictRfc1459 };

    // Room for over 20,000 members whose nicks and accounts have 32
    // characters each. Beyond it a new nick stays unknown, which vouches
    // for nobody, and overflowed() tells that the server overfilled it.
    static constexpr qsizetype MaxBytes = 5 * 1024 * 1024;

    void setCaseMapping(const QString &name);
    QString fold(const QString &nick) const;
    bool sameNick(const QString &a, const QString &b) const { return fold(a) == fold(b); }
    // Services fold only ASCII letters in account names: under Unicode's
    // folding a Kelvin sign or a long s would pass for a k or an s, and an
    // account that merely looks like the owner's would count as theirs.
    static bool sameAccount(const QString &a, const QString &b);

    // "" or "*" means logged in to no account.
    void set(const QString &nick, const QString &account);
    void forget(const QString &nick);
    void rename(const QString &from, const QString &to);
    // "" when none or unknown.
    QString account(const QString &nick) const { return m_accounts.value(fold(nick)); }
    qsizetype size() const { return m_accounts.size(); }
    // What the cache takes in memory, about; never more than MaxBytes.
    qsizetype bytes() const { return m_bytes; }
    // A nick was refused for want of room since the last clear().
    bool overflowed() const { return m_overflowed; }
    void clear();

private:
    static qsizetype entryBytes(const QString &key, const QString &account);
    void remove(const QString &key);

    CaseMapping m_mapping = CaseMapping::Rfc1459;
    QHash<QString, QString> m_accounts;
    qsizetype m_bytes = 0;
    bool m_overflowed = false;
};
