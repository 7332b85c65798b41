// The session's registration: capabilities, the SASL login, the welcome
// and the nick held.
#include "platform/irc/ircsession.h"

#include "platform/irc/ircmessage.h"
#include "platform/irc/ircsessionparts.h"

using namespace IrcSessionParts;

namespace {

constexpr int MaxNickTries = 20;
// Every server takes nicks this long.
constexpr int ShortestNickLimit = 9;

} // namespace

void IrcSession::handleCap(const IrcMessage &message)
{
    const QString sub = message.param(1).toUpper();
    const QStringList caps = message.params.value(message.params.size() - 1).split(u' ', Qt::SkipEmptyParts);
    const bool vouched = vouchesForAccounts();
    if (sub == u"LS" && !m_capsDone) {
        m_caps.offer(caps);
        if (message.param(2) == u"*" && message.params.size() > 3)
            return;
        requestCaps();
    } else if (sub == u"ACK") {
        m_caps.acknowledge(caps);
        if (m_capsDone)
            return capsChangedFrom(vouched);
        if (!m_login.password.isEmpty() && !hasCap("sasl"))
            return loginFailed(QStringLiteral("the server refused SASL login, and a password was given"));
        if (m_login.password.isEmpty())
            return endCaps();
        m_sasl = Sasl::Exchanging;
        sendProtocol("AUTHENTICATE", {"PLAIN"});
    } else if (sub == u"NAK" && !m_capsDone) {
        if (!m_login.password.isEmpty())
            return loginFailed(QStringLiteral("the server refused SASL login, and a password was given"));
        endCaps();
    } else if (sub == u"NEW") {
        m_caps.offer(caps);
        if (m_capsDone)
            if (const QStringList request = m_caps.wanted(caps, !m_login.password.isEmpty()); !request.isEmpty())
                sendProtocol("CAP", {"REQ", request.join(u' ')});
    } else if (sub == u"DEL") {
        const QStringList gone = m_caps.withdraw(caps);
        // Whoever logs out meanwhile would keep the account known here.
        if (gone.contains(u"account-notify") || gone.contains(u"extended-join"))
            m_accounts.clear();
        capsChangedFrom(vouched);
    }
}

void IrcSession::capsChangedFrom(bool vouched)
{
    if (vouchesForAccounts() == vouched)
        return;
    // Those who joined while the server told nothing are learnt anew.
    if (vouchesForAccounts() && m_inChannel && m_whox && !hasCap(AccountTag))
        sendProtocol("WHO", {m_channel, "%tna,1"});
    emit vouchingChanged(vouchesForAccounts());
}

void IrcSession::requestCaps()
{
    if (!m_login.password.isEmpty()) {
        const QString sasl = m_caps.offered(QStringLiteral("sasl"));
        if (sasl.isEmpty())
            return loginFailed(QStringLiteral("the server offers no SASL login, and a password was given"));
        // "sasl=EXTERNAL,PLAIN" lists the mechanisms; a bare "sasl" may take any.
        if (sasl.contains(u'=') && !sasl.section(u'=', 1).split(u',').contains(u"PLAIN"))
            return loginFailed(QStringLiteral("the server does not take SASL PLAIN logins"));
    }
    const QStringList request = m_caps.wanted(!m_login.password.isEmpty());
    if (request.isEmpty())
        return endCaps();
    sendProtocol("CAP", {"REQ", request.join(u' ')});
}

void IrcSession::handleSasl(const IrcMessage &message)
{
    if (message.param(0) != u"+" || m_sasl != Sasl::Exchanging)
        return;
    const QString account = m_login.account.isEmpty() ? m_login.nick : m_login.account;
    const QByteArray plain = (account + QChar(0) + account + QChar(0) + m_login.password).toUtf8().toBase64();
    constexpr qsizetype Chunk = 400;
    for (qsizetype from = 0; from < plain.size(); from += Chunk)
        sendProtocol("AUTHENTICATE", {QString::fromLatin1(plain.mid(from, Chunk))});
    // A last chunk of exactly 400 bytes says more may come; "+" says no more.
    if (plain.size() % Chunk == 0)
        sendProtocol("AUTHENTICATE", {"+"});
}

// Outside our own exchange these answer no question of ours.
void IrcSession::saslRefused(const IrcMessage &message)
{
    if (m_sasl != Sasl::Exchanging)
        return;
    const QString text = message.param(message.params.size() - 1);
    loginFailed(QStringLiteral("SASL login refused: %1 (%2)").arg(text, message.command));
}

void IrcSession::saslSucceeded()
{
    if (m_sasl != Sasl::Exchanging)
        return;
    m_sasl = Sasl::LoggedIn;
    m_loginWorked = true;
}

// Before a login has worked the password may be wrong, and trying it again
// would not mend that. Once one has, a refusal means the network lacks its
// services for a while (restarted before them, split from them).
void IrcSession::loginFailed(const QString &why)
{
    if (!m_loginWorked)
        return fail(why);
    dropSocket();
    retryLater(QStringLiteral("can't log in (%1)").arg(why), RetryAction::Connect, nextDelay());
}

void IrcSession::endCaps()
{
    if (std::exchange(m_capsDone, true))
        return;
    sendProtocol("CAP", {"END"});
}

void IrcSession::handleWelcome(const IrcMessage &message)
{
    if (m_registered)
        return;
    // A server that knows no CAP registers us at once.
    m_capsDone = true;
    // With a password, a welcome before the login is done would take us
    // into the channel logged in to nothing.
    if (!m_login.password.isEmpty() && m_sasl != Sasl::LoggedIn)
        return loginFailed(hasCap("sasl")
                               ? QStringLiteral("the server let us in before the SASL login was done")
                               : QStringLiteral("the server offers no SASL login, and a password was given"));
    m_registered = true;
    m_registerTimer.stop();
    m_joinTimer.start(m_timings.motdWaitMs);
    if (!message.param(0).isEmpty())
        setNick(message.param(0));
    setStatus(QStringLiteral("registered as %1; joining %2").arg(m_nick, m_channel));
    emit registered();
}

void IrcSession::handleSupport(const IrcMessage &message)
{
    for (const QString &token : message.params.mid(1, message.params.size() - 2)) {
        const QString key = token.section(u'=', 0, 0);
        const QString value = token.section(u'=', 1);
        if (key == u"CASEMAPPING")
            m_accounts.setCaseMapping(value);
        else if (key == u"WHOX")
            m_whox = true;
        else if (key == u"MONITOR")
            m_monitor = true;
        else if (key == u"NICKLEN" && value.toInt() >= ShortestNickLimit)
            m_nickLength = value.toInt();
        else if (key == u"CHANTYPES")
            m_chanTypes = value;
    }
}

void IrcSession::handleNickRefused(const IrcMessage &message)
{
    if (m_registered) {
        setStatus(QStringLiteral("%1the nick %2 was refused (%3)")
                      .arg(m_inChannel ? QStringLiteral("in %1 as %2; ").arg(m_channel, m_nick) : QString(),
                           message.param(1), message.params.last().left(200)));
        return;
    }
    if (++m_nickTries > MaxNickTries)
        return fail(QStringLiteral("the server took none of the nicks tried (%1)").arg(message.param(2)));
    // Too long, perhaps: the shortest limit any server has.
    if (message.command == u"432" && m_nick.size() > ShortestNickLimit)
        m_nickLength = ShortestNickLimit;
    // A server that cuts nicks to its length names the cut one it refused:
    // the fallbacks must fit in that length, or they are cut back to it.
    if (const QString refused = message.param(1);
        !refused.isEmpty() && refused.size() < m_nick.size() && m_nick.startsWith(refused, Qt::CaseInsensitive))
        m_nickLength = int(refused.size());
    const auto fallback = [this](int tries) {
        const QString suffix = tries == 1 ? QStringLiteral("_") : QString::number(tries);
        return m_login.nick.left(std::max<qsizetype>(1, m_nickLength - suffix.size())) + suffix;
    };
    QString next = fallback(m_nickTries);
    if (m_accounts.sameNick(next, m_login.othersNick))
        next = fallback(++m_nickTries);
    setStatus(QStringLiteral("nick %1 refused (%2); trying %3").arg(m_nick, message.param(2), next));
    m_nick = next;
    sendProtocol("NICK", {next});
}

void IrcSession::setNick(const QString &nick)
{
    m_nick = nick;
    if (m_registered && nick != m_reportedNick) {
        m_reportedNick = nick;
        post(IrcInbox::NickChanged{nick});
    }
}

void IrcSession::handleNick(const IrcMessage &message)
{
    const QString from = message.nick();
    m_accounts.rename(from, message.param(0));
    if (!isMe(from))
        return notice(QStringLiteral("%1 is now known as %2").arg(from, message.param(0)));
    if (message.param(0).isEmpty())
        return;
    setNick(message.param(0));
    if (m_inChannel)
        setStatus(QStringLiteral("in %1 as %2").arg(m_channel, m_nick));
    if (isMe(wantedNick()) && std::exchange(m_nickWatched, false)) {
        m_nickTimer.stop();
        if (m_monitor)
            sendProtocol("MONITOR", {"-", wantedNick()});
    }
}

// Under a fallback nick, ours is taken back as soon as it is free: the
// server says so (MONITOR), or is asked now and then (ISON).
void IrcSession::watchNick()
{
    if (!m_registered || m_nickWatched || isMe(wantedNick()))
        return;
    m_nickWatched = true;
    if (m_monitor) {
        sendProtocol("MONITOR", {"+", wantedNick()});
        return;
    }
    m_nickTimer.start(m_timings.nickCheckMs);
}

void IrcSession::nickFree(const QString &nick)
{
    if (m_nickWatched && m_accounts.sameNick(nick, wantedNick()) && !isMe(nick))
        sendProtocol("NICK", {wantedNick()});
}

