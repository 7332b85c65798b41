#include "platform/irc/ircaccounts.h"

#include <algorithm>

void IrcAccounts::setCaseMapping(const QString &name)
{
    const QString lower = name.toLower();
    const CaseMapping mapping = lower == u"ascii"           ? CaseMapping::Ascii
                                : lower == u"strict-rfc1459" ? CaseMapping::StrictRfc1459
                                                             : CaseMapping::Rfc1459;
    if (mapping == m_mapping)
        return;
    m_mapping = mapping;
    // Keys folded the old way would no longer be found.
    clear();
}

QString IrcAccounts::fold(const QString &nick) const
{
    // Each mapping lower-cases a run of ASCII ending at Z, ] or ^.
    const char16_t last = m_mapping == CaseMapping::Ascii           ? u'Z'
                          : m_mapping == CaseMapping::StrictRfc1459 ? u']'
                                                                    : u'^';
    QString folded = nick;
    for (QChar &c : folded)
        if (c.unicode() >= u'A' && c.unicode() <= last)
            c = QChar(c.unicode() + 0x20);
    return folded;
}

bool IrcAccounts::sameAccount(const QString &a, const QString &b)
{
    const auto folded = [](QChar c) { return c >= u'A' && c <= u'Z' ? QChar(c.unicode() + 0x20) : c; };
    return a.size() == b.size()
           && std::equal(a.begin(), a.end(), b.begin(), [&](QChar x, QChar y) { return folded(x) == folded(y); });
}

void IrcAccounts::set(const QString &nick, const QString &account)
{
    const QString key = fold(nick);
    remove(key);
    if (account.isEmpty() || account == u"*")
        return;
    const qsizetype bytes = entryBytes(key, account);
    if (m_bytes + bytes > MaxBytes) {
        m_overflowed = true;
        return;
    }
    m_accounts.insert(key, account);
    m_bytes += bytes;
}

void IrcAccounts::forget(const QString &nick)
{
    remove(fold(nick));
}

void IrcAccounts::rename(const QString &from, const QString &to)
{
    const QString account = m_accounts.value(fold(from));
    remove(fold(from));
    set(to, account);
}

void IrcAccounts::clear()
{
    m_accounts.clear();
    m_bytes = 0;
    m_overflowed = false;
}

// The two strings' characters, and what a hash node and two string headers
// take besides.
qsizetype IrcAccounts::entryBytes(const QString &key, const QString &account)
{
    constexpr qsizetype EntryOverhead = 96;
    return (key.size() + account.size()) * qsizetype(sizeof(QChar)) + EntryOverhead;
}

void IrcAccounts::remove(const QString &key)
{
    if (const auto it = m_accounts.constFind(key); it != m_accounts.cend()) {
        m_bytes -= entryBytes(key, *it);
        m_accounts.erase(it);
    }
}
