// The session in its channel: joining and being removed, what is said
// there and to us, and telling the listeners.
#include "platform/irc/ircsession.h"

#include "platform/irc/ircformat.h"
#include "platform/irc/ircmessage.h"
#include "platform/irc/ircsessionparts.h"
#include "platform/nestedloop.h"

using namespace IrcSessionParts;

namespace {

// More batches than a server nests; a line in one not kept counts as earlier.
constexpr qsizetype MaxOpenBatches = 16;

QString joinRefusal(const QString &numeric)
{
    static const QHash<QString, QString> reasons = {
        {"471", "the channel is full"},        {"473", "invite only"},
        {"474", "banned"},                     {"475", "wrong channel key"},
        {"477", "needs a registered nick"},    {"403", "no such channel"},
        {"405", "in too many channels"},       {"437", "the channel is unavailable for now"},
        {"470", "forwarded elsewhere"},        {"480", "the channel refuses this connection"},
        {"489", "needs a secure connection"}, {"520", "for operators only"}};
    return reasons.value(numeric);
}

} // namespace

void IrcSession::joinChannel()
{
    watchNick();
    if (m_stopped || !m_registered || m_inChannel)
        return;
    m_joinSent = true;
    m_joinTimer.start(m_timings.joinAnswerMs);
    sendProtocol("JOIN", m_channelKey.isEmpty() ? QStringList{m_channel} : QStringList{m_channel, m_channelKey});
}

// Whatever kept us out (a refusal we do not know, a JOIN the server
// ignored, a MOTD that never ends), a planned retry or this timer is always
// running while registered and outside the channel.
void IrcSession::joinTimedOut()
{
    if (m_stopped || !m_registered || m_inChannel || m_retryTimer.isActive())
        return;
    if (!m_joinSent)
        return joinChannel();
    retryLater(QStringLiteral("can't join %1: no answer from the server").arg(m_channel), RetryAction::Join, nextDelay());
}

void IrcSession::handleJoin(const IrcMessage &message)
{
    if (!isChannel(message.param(0)))
        return;
    const QString nick = message.nick();
    if (hasCap("extended-join") && message.params.size() > 1)
        m_accounts.set(nick, message.param(1));
    else
        m_accounts.forget(nick);
    if (!isMe(nick))
        return notice(QStringLiteral("%1 joined %2").arg(nick, m_channel));
    if (m_inChannel)
        return;
    learnPrefix(message.source);
    m_joinedAt = QDateTime::fromString(message.tag("time").value_or(QString()), Qt::ISODateWithMs);
    m_inChannel = true;
    m_retryTimer.stop();
    m_joinTimer.stop();
    m_stableTimer.start(m_timings.stableMs);
    setStatus(QStringLiteral("in %1 as %2").arg(m_channel, m_nick));
    post(IrcInbox::Joined{});
    if (m_whox)
        sendProtocol("WHO", {m_channel, "%tna,1"});
}

void IrcSession::handlePart(const IrcMessage &message)
{
    if (!isChannel(message.param(0)))
        return;
    m_accounts.forget(message.nick());
    // Parted by the network, not by us: like a kick.
    if (isMe(message.nick()))
        removedFromChannel(QStringLiteral("removed from %1 by the server").arg(m_channel));
    else
        notice(QStringLiteral("%1 left %2%3").arg(message.nick(), m_channel, because(message.param(1))));
}

void IrcSession::handleKick(const IrcMessage &message)
{
    if (!isChannel(message.param(0)))
        return;
    const QString victim = message.param(1);
    m_accounts.forget(victim);
    if (!isMe(victim))
        return notice(QStringLiteral("%1 was kicked from %2 by %3%4")
                          .arg(victim, m_channel, message.nick(), because(message.param(2))));
    QString why = QStringLiteral("kicked from %1 by %2").arg(m_channel, message.nick());
    if (!message.param(2).isEmpty())
        why += QStringLiteral(" (%1)").arg(message.param(2));
    removedFromChannel(why);
}

void IrcSession::removedFromChannel(const QString &reason)
{
    const QString why = leaveChannel(reason);
    // One rejoin after a pause; whoever removes us again waits longer each time.
    const int delay = m_kickRejoinUsed ? nextDelay() : m_timings.kickRejoinMs;
    m_kickRejoinUsed = true;
    retryLater(why, RetryAction::Join, delay);
}

void IrcSession::joinRefused(const IrcMessage &message)
{
    if (!isChannel(message.param(1)) || m_inChannel)
        return;
    const QString why = QStringLiteral("can't join %1: %2 (%3)").arg(m_channel, joinRefusal(message.command), message.command);
    retryLater(why, RetryAction::Join, nextDelay());
}

// Returns the reason, with how many of our lines it kept from being sent.
QString IrcSession::leaveChannel(const QString &why)
{
    for (std::deque<Outgoing> &unsent : m_unsent)
        unsent.clear();
    const qsizetype dropped = m_pacer.clearChannel();
    const QString said = dropped == 0 ? why : QStringLiteral("%1; %2 of ours not delivered").arg(why, lines(dropped));
    if (!std::exchange(m_inChannel, false))
        return said;
    m_stableTimer.stop();
    m_accounts.clear();
    post(IrcInbox::Left{said});
    return said;
}

void IrcSession::handlePrivmsg(const IrcMessage &message)
{
    if (isMe(message.nick()))
        m_verdicts.echoed(message.param(0));
    const bool privately = !isChannel(message.param(0));
    if ((privately && !isMe(message.param(0))) || message.params.size() < 2)
        return;
    const QString nick = message.nick();
    QString text = message.param(1);
    bool action = false;
    if (text.startsWith(u'\x01')) {
        // Some clients leave the closing \x01 off.
        if (text.endsWith(u'\x01') && text.size() > 1)
            text.chop(1);
        // Any other CTCP is a query to answer, never a line.
        if (text != Action && !text.startsWith(Action + u' '))
            return answerCtcp(nick, text.mid(1));
        text = text.mid(Action.size() + 1);
        action = true;
    }
    // Outside the channel there is no room for a private line to be shown in.
    if (privately && !m_inChannel)
        return;
    // With account-tag the server tags every line of a logged-in sender, so
    // a line without the tag is logged in to nothing, whatever was known of
    // the nick before: a sender outside the channel may have quit unseen and
    // left the nick to someone else. What is known of the channel's members
    // serves only servers without the tag.
    const QString account = hasCap(AccountTag)       ? message.tag("account").value_or(QString())
                            : vouchesForAccounts() ? m_accounts.account(nick)
                                                   : QString();
    postLine(IrcInbox::Line{nick, text, account, action, isMe(nick), saidBeforeWeJoined(message), privately});
}

// Answered to the nick that asked, whether it asked us or the channel.
void IrcSession::answerCtcp(const QString &nick, const QString &query)
{
    // A server's name holds a dot, which no nick does.
    if (!m_registered || nick.isEmpty() || isMe(nick) || nick.contains(u'.'))
        return;
    if (const std::optional<QString> answer = m_ctcp.answer(m_accounts.fold(nick), query))
        sendProtocol("NOTICE", {nick, u'\x01' + *answer + u'\x01'});
}

void IrcSession::handleNotice(const IrcMessage &message)
{
    const bool privately = !isChannel(message.param(0));
    // Our own come back with echo-message; those before we joined have no room.
    if ((privately && !isMe(message.param(0))) || isMe(message.nick()) || message.params.size() < 2)
        return;
    const QString from = message.nick().isEmpty() ? QStringLiteral("the server") : message.nick();
    const QString text = StripIrcFormatting(message.param(1)).remove(u'\x01');
    notice(privately ? QStringLiteral("notice from %1: %2").arg(from, text)
                     : QStringLiteral("notice from %1 to %2: %3").arg(from, m_channel, text));
}

// The topic as we join (332, then who set it and when: 333) and as it changes.
void IrcSession::handleTopic(const IrcMessage &message)
{
    const bool change = message.command == u"TOPIC";
    if (!isChannel(message.param(change ? 0 : 1)))
        return;
    const QString topic = StripIrcFormatting(message.param(change ? 1 : 2));
    if (message.command == u"332") {
        notice(QStringLiteral("the topic of %1: %2").arg(m_channel, topic));
    } else if (message.command == u"333") {
        bool isTime = false;
        const qint64 at = message.param(3).toLongLong(&isTime);
        const QString when = isTime ? QDateTime::fromSecsSinceEpoch(at, Qt::UTC).toString(u"yyyy-MM-dd HH:mm 'UTC'")
                                    : QString();
        notice(QStringLiteral("topic set by %1%2").arg(message.param(2).section(u'!', 0, 0),
                                                         when.isEmpty() ? QString() : " on " + when));
    } else if (topic.isEmpty()) {
        notice(QStringLiteral("%1 cleared the topic of %2").arg(message.nick(), m_channel));
    } else {
        notice(QStringLiteral("%1 set the topic of %2: %3").arg(message.nick(), m_channel, topic));
    }
}

void IrcSession::sendRefused(const IrcMessage &message)
{
    const QString target = message.param(1);
    // Cut: a server's reason is data, and a status line is one line.
    const QString why = message.params.size() > 2 ? message.params.last().left(200) : message.command;
    QString what = QStringLiteral("a line was not delivered to %1").arg(target);
    if (message.command == u"482" || message.command == u"442")
        what = QStringLiteral("the topic of %1 was not set").arg(target);
    else if (const std::optional<QString> line = m_verdicts.refused(target); line && isChannel(target))
        what = QStringLiteral("not delivered to %1: \"%2\"").arg(target, line->size() > 80 ? line->left(79) + u'…' : *line);
    // What went to a nick (a password for services, say) is not repeated.
    // Told once, as it happens: as a status it would linger into the next.
    report(QStringLiteral("%1 (%2)").arg(what, why));
}

void IrcSession::showTopic(const IrcMessage &message)
{
    if (!std::exchange(m_topicAsked, false) || !isChannel(message.param(1)))
        return;
    const QString topic = message.command == u"331" ? QStringLiteral("no topic is set")
                                                    : QStringLiteral("the topic is: %1").arg(message.param(2).left(400));
    report(topic);
}

void IrcSession::handleBatch(const IrcMessage &message)
{
    const QString reference = message.param(0);
    if (reference.startsWith(u'-'))
        m_batches.remove(reference.mid(1));
    else if (reference.startsWith(u'+') && m_batches.size() < MaxOpenBatches)
        m_batches.insert(reference.mid(1), message.param(1));
}

// A server replays the channel's history on joining (chathistory), a
// bouncer what was said while its user was away; either would otherwise
// run old commands again, an old exit among them.
bool IrcSession::saidBeforeWeJoined(const IrcMessage &message) const
{
    if (const std::optional<QString> batch = message.tag("batch")) {
        // Only these come in batches with what is asked for; one not kept
        // may be anything, and is not taken for live.
        const QString type = m_batches.value(*batch);
        return type.isEmpty() || type == u"chathistory" || type == u"znc.in/playback";
    }
    if (m_joinedAt.isNull())
        return false;
    const QDateTime said = QDateTime::fromString(message.tag("time").value_or(QString()), Qt::ISODateWithMs);
    return said.isValid() && said < m_joinedAt;
}

bool IrcSession::isChannel(const QString &target) const
{
    return !target.isEmpty() && m_chanTypes.contains(target[0]) && m_accounts.sameNick(target, m_channel);
}

void IrcSession::learnPrefix(const QString &source)
{
    const qsizetype bang = source.indexOf(u'!');
    const qsizetype at = source.indexOf(u'@', bang + 1);
    if (bang < 0 || at < 0)
        return;
    m_user = source.mid(bang + 1, at - bang - 1);
    m_host = source.mid(at + 1);
}

// ---- the listeners

void IrcSession::post(IrcInbox::Event event)
{
    m_inbox.post(std::move(event));
    deliverLater();
}

void IrcSession::postLine(IrcInbox::Line line)
{
    m_inbox.postLine(std::move(line));
    deliverLater();
}

void IrcSession::notice(const QString &text)
{
    if (!m_inChannel)
        return;
    m_inbox.postNotice({text});
    deliverLater();
}

void IrcSession::report(const QString &text)
{
    if (m_inChannel)
        notice(text);
    else
        setStatus(text);
}

void IrcSession::deliverLater()
{
    if (!m_inbox.isEmpty() && !std::exchange(m_deliveryQueued, true))
        QMetaObject::invokeMethod(this, &IrcSession::deliver, Qt::QueuedConnection);
}

void IrcSession::deliver()
{
    m_deliveryQueued = false;
    if (m_inbox.isEmpty())
        return;
    // Shut now, perhaps after the link's reading paused for the listeners.
    if (!LineGate::isOpen())
        return readLater();
    const std::optional<IrcInbox::Event> event = m_inbox.take();
    // Both queued before the event goes out: a listener that waits takes
    // the next one inside its wait, and may even stop the session.
    deliverLater();
    readLater();
    if (const auto *line = std::get_if<IrcInbox::Line>(&*event); line && line->privately)
        emit privateLine(line->nick, line->text, line->action, line->account, line->earlier);
    else if (line)
        emit channelLine(line->nick, line->text, line->action, line->account, line->own, line->earlier);
    else if (const auto *shown = std::get_if<IrcInbox::Notice>(&*event))
        emit noticed(shown->text);
    else if (std::holds_alternative<IrcInbox::Joined>(*event))
        emit joined(m_channel);
    else if (const auto *left = std::get_if<IrcInbox::Left>(&*event))
        emit this->left(left->why);
    else if (const auto *changed = std::get_if<IrcInbox::NickChanged>(&*event))
        emit nickChanged(changed->nick);
    else if (const auto *skipped = std::get_if<IrcInbox::Skipped>(&*event))
        setStatus(QStringLiteral("%1%2 of %3 skipped: too many were waiting for the player")
                      .arg(m_inChannel ? QStringLiteral("in %1 as %2; ").arg(m_channel, m_nick) : QString(),
                           lines(skipped->count), m_channel));
}

