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
    m_accounts.clear();
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
    if (account.isEmpty() || account == u"*") {
        m_accounts.remove(key);
        return;
    }
    if (m_accounts.size() < MaxNicks || m_accounts.contains(key))
        m_accounts.insert(key, account);
}

void IrcAccounts::forget(const QString &nick)
{
    m_accounts.remove(fold(nick));
}

void IrcAccounts::rename(const QString &from, const QString &to)
{
    const QString account = m_accounts.take(fold(from));
    m_accounts.remove(fold(to));
    set(to, account);
}
