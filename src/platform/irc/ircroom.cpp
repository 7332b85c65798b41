#include "platform/irc/ircroom.h"

#include "platform/chatclient.h"
#include "platform/irc/ircformat.h"
#include "platform/irc/ircsession.h"
#include "platform/irc/irctypedline.h"
#include "platform/postpriority.h"

#include <algorithm>

namespace {

// What the room shows of a /me: the action between stars, after its speaker.
QString asAction(const QString &text, bool action)
{
    return action ? u'*' + text + u'*' : text;
}

// What the faces show of a line in IRC formatting.
QString shownFromIrc(const QString &ircText, bool action)
{
    return action ? "<i>" + asAction(ChatMarkupFromIrc(ircText), true) + "</i>" : ChatMarkupFromIrc(ircText);
}

} // namespace

QString NickOnlyTrustWarning(const IrcOwner &owner)
{
    if (owner.nick.isEmpty() || !owner.account.isEmpty())
        return {};
    return QStringLiteral("anyone who takes the nick %1 while its owner is away can command this player;"
                          " --owner-account ACCOUNT makes it obey %1 only when logged in to that account")
        .arg(owner.nick);
}

IrcRoom::IrcRoom(ChatClient &client, IrcSession &session, IrcOwner owner, QObject *parent)
    : QObject(parent)
    , m_client(client)
    , m_session(session)
    , m_owner(std::move(owner))
{
    connect(&m_session, &IrcSession::statusChanged, &m_client, &ChatClient::setStatus);
    connect(&m_session, &IrcSession::registered, this, &IrcRoom::checkOwnerCanBeVouchedFor);
    connect(&m_session, &IrcSession::joined, this, &IrcRoom::enter);
    connect(&m_session, &IrcSession::left, this, &IrcRoom::leave);
    connect(&m_session, &IrcSession::channelLine, this, &IrcRoom::receive);
    connect(&m_session, &IrcSession::privateLine, this, &IrcRoom::receivePrivately);
    connect(&m_session, &IrcSession::noticed, this, &IrcRoom::notify);
    connect(&m_session, &IrcSession::vouchingChanged, this, &IrcRoom::showVouching);
    connect(&m_session, &IrcSession::failed, this, [this](const QString &why) {
        leave();
        emit failed(why);
    });
    // As the user's own client, the Welcome window names the nick held, so
    // the user's lines still pass as theirs under a fallback nick.
    connect(&m_session, &IrcSession::nickChanged, this, [this](const QString &nick) {
        if (m_owner.nick.isEmpty())
            m_client.setScreenName(nick);
    });
}

QString IrcRoom::speakerName(const QString &nick, const QString &account, bool own) const
{
    if (own)
        return m_session.nick();
    // The owner's nick is compared as given, case and all, as the room's
    // gate compares names: a nick that only looks like it stays itself.
    if (!m_owner.nick.isEmpty() && nick == m_owner.nick && !m_owner.account.isEmpty())
        return IrcAccounts::sameAccount(account, m_owner.account) ? nick : nick + UnverifiedMark.toString();
    // DJs are known by account; a nick that is a DJ's account name, said by
    // someone not logged in to it, must not pass for the DJ.
    const bool djsName = std::any_of(m_owner.djAccounts.begin(), m_owner.djAccounts.end(),
                                     [&nick](const QString &dj) { return IrcAccounts::sameAccount(nick, dj); });
    return djsName && !isDj(account) ? nick + UnverifiedMark.toString() : nick;
}

bool IrcRoom::isDj(const QString &account) const
{
    return !account.isEmpty() && std::any_of(m_owner.djAccounts.begin(), m_owner.djAccounts.end(),
                                             [&account](const QString &dj) { return IrcAccounts::sameAccount(account, dj); });
}

void IrcRoom::enter(const QString &channel)
{
    if (m_room)
        return;
    m_room = m_client.openRoom(
        channel, [this](const QString &text) { post(text); }, [this](const QString &text) { postTyped(text); });
}

void IrcRoom::leave()
{
    if (!m_room)
        return;
    const WindowHandle room = std::exchange(m_room, 0);
    m_client.closeRoom(room);
}

void IrcRoom::post(const QString &chatMarkup)
{
    const QString text = IrcFromChatMarkup(chatMarkup);
    const PostPriority priority = PostPriorityScope::current();
    if (text.startsWith(QStringLiteral("/me ")))
        m_session.act(text.mid(4), priority);
    else
        m_session.say(text, priority);
}

void IrcRoom::postTyped(const QString &typed)
{
    const TypedLineOutcome outcome = PostTypedLine(m_session, typed);
    // The room stays open: the way out says goodbye in it.
    if (outcome.quitReason)
        return emit quitTyped(*outcome.quitReason);
    if (!outcome.refusal.isEmpty())
        notify(outcome.refusal);
}

// Without a way for the server to vouch for accounts, the owner could only
// be known by nick, which anyone may take while the owner is away.
void IrcRoom::checkOwnerCanBeVouchedFor()
{
    if ((m_owner.account.isEmpty() && m_owner.djAccounts.isEmpty()) || m_session.vouchesForAccounts())
        return;
    QStringList unchecked;
    if (!m_owner.account.isEmpty())
        unchecked << QStringLiteral("--owner-account");
    if (!m_owner.djAccounts.isEmpty())
        unchecked << QStringLiteral("--dj-account");
    const QString why = QStringLiteral("the server can't vouch for accounts (it offers neither account-tag nor "
                                       "extended-join with account-notify), so %1 can't be checked")
                            .arg(unchecked.join(QStringLiteral(" and ")));
    m_session.stop(why);
    leave();
    emit failed(why);
}

void IrcRoom::showVouching(bool vouches)
{
    if (m_owner.account.isEmpty() && m_owner.djAccounts.isEmpty())
        return;
    QStringList whose;
    if (!m_owner.account.isEmpty())
        whose << m_owner.nick + QStringLiteral("'s");
    if (!m_owner.djAccounts.isEmpty())
        whose << QStringLiteral("the DJs'");
    m_client.setStatus(vouches ? m_session.status()
                               : m_session.status()
                                     + QStringLiteral("; the server no longer vouches for accounts, so %1 lines"
                                                      " command nothing until it does again")
                                           .arg(whose.join(QStringLiteral(" and "))));
}

void IrcRoom::receive(const QString &nick, const QString &ircText, bool action, const QString &account, bool own,
                      bool earlier)
{
    if (!m_room)
        return;
    const QString text = asAction(StripIrcFormatting(ircText), action);
    const QString shown = shownFromIrc(ircText, action);
    const QString speaker = speakerName(nick, account, own) + (earlier ? EarlierMark.toString() : QString());
    const bool dj = !own && !earlier && speaker != m_client.screenName() && isDj(account);
    m_client.deliver(m_room, ChatClientLine{speaker, text, shown, earlier, dj});
}

// The owner and the DJs, vouched for as in the channel, command from a
// private line as from the channel, and are answered there; anyone else's is
// only shown.
void IrcRoom::receivePrivately(const QString &nick, const QString &ircText, bool action, const QString &account,
                               bool earlier)
{
    if (!m_room)
        return;
    const QString text = asAction(StripIrcFormatting(ircText), action);
    const bool owner = !m_owner.nick.isEmpty() && speakerName(nick, account, false) == m_owner.nick;
    const bool dj = !owner && isDj(account);
    if (earlier || (!owner && !dj))
        return notify(QStringLiteral("private message from %1: %2").arg(nick, text));
    m_client.deliver(m_room, ChatClientLine{nick, text, QStringLiteral("<i>(privately)</i> ") + shownFromIrc(ircText, action),
                                            false, dj});
}

void IrcRoom::notify(const QString &text)
{
    if (m_room)
        m_client.notify(m_room, text);
}
