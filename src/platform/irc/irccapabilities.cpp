#include "platform/irc/irccapabilities.h"

namespace {

// cap-notify is implied by CAP LS 302, and named for servers that offer it
// without.
const QStringList Read = {"echo-message", "account-tag", "extended-join", "account-notify",
                          "chghost",      "server-time", "batch",         "cap-notify"};
const QString AccountTag = QStringLiteral("account-tag");

QString nameOf(const QString &offer)
{
    return offer.section(u'=', 0, 0);
}

} // namespace

QString IrcCapabilities::offered(const QString &name) const
{
    for (const QString &offer : m_offered)
        if (nameOf(offer) == name)
            return offer;
    return {};
}

QStringList IrcCapabilities::wanted(const QStringList &offers, bool sasl) const
{
    QStringList request;
    for (const QString &offer : offers) {
        const QString name = nameOf(offer);
        if ((Read.contains(name) || (sasl && name == u"sasl")) && !has(name) && !request.contains(name))
            request << name;
    }
    return request;
}

void IrcCapabilities::acknowledge(const QStringList &caps)
{
    for (const QString &cap : caps) {
        if (cap.startsWith(u'-'))
            m_held.remove(cap.mid(1));
        else
            m_held.insert(cap);
    }
    if (has(AccountTag))
        m_accountTagWithdrawn = false;
}

QStringList IrcCapabilities::withdraw(const QStringList &caps)
{
    QStringList gone;
    for (const QString &cap : caps) {
        m_offered.removeIf([&](const QString &offer) { return nameOf(offer) == cap; });
        if (m_held.remove(cap))
            gone << cap;
    }
    if (gone.contains(AccountTag))
        m_accountTagWithdrawn = true;
    return gone;
}

bool IrcCapabilities::vouchesForAccounts() const
{
    if (has(AccountTag))
        return true;
    return !m_accountTagWithdrawn && has(QStringLiteral("extended-join")) && has(QStringLiteral("account-notify"));
}

qsizetype IrcCapabilities::bytes() const
{
    // Each name's characters and its string's header.
    constexpr qsizetype NameOverhead = 32;
    qsizetype bytes = 0;
    for (const QString &cap : m_offered)
        bytes += cap.size() * qsizetype(sizeof(QChar)) + NameOverhead;
    for (const QString &cap : m_held)
        bytes += cap.size() * qsizetype(sizeof(QChar)) + NameOverhead;
    return bytes;
}
