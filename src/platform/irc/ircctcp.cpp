#include "platform/irc/ircctcp.h"

#include <QCoreApplication>
#include <QDateTime>
#include <algorithm>

namespace {

std::optional<QString> reply(const QString &query)
{
    const QString command = query.section(u' ', 0, 0).toUpper();
    if (command == u"VERSION")
        return QStringLiteral("VERSION %1 %2").arg(QCoreApplication::applicationName(),
                                                   QCoreApplication::applicationVersion());
    if (command == u"PING") {
        QString argument = query.section(u' ', 1).remove(u'\x01');
        while (argument.toUtf8().size() > IrcCtcp::MaxPingBytes)
            argument.chop(argument.back().isLowSurrogate() ? 2 : 1);
        return argument.isEmpty() ? QStringLiteral("PING") : QStringLiteral("PING ") + argument;
    }
    if (command == u"TIME")
        return QStringLiteral("TIME %1").arg(QDateTime::currentDateTime().toString(Qt::RFC2822Date));
    if (command == u"CLIENTINFO")
        return QStringLiteral("CLIENTINFO ACTION CLIENTINFO PING TIME VERSION");
    return std::nullopt;
}

} // namespace

IrcCtcp::IrcCtcp(Clock clock)
    : m_clock(clock ? std::move(clock) : Clock(MonotonicMs))
{
}

std::optional<QString> IrcCtcp::answer(const QString &sender, const QString &query)
{
    std::optional<QString> text = reply(query);
    if (!text)
        return std::nullopt;
    const qint64 now = m_clock();
    while (!m_answered.empty() && now - m_answered.front().first >= MaxAnswersMs)
        m_answered.pop_front();
    const bool answeredLately = std::any_of(m_answered.begin(), m_answered.end(), [&](const auto &answered) {
        return answered.second == sender && now - answered.first < PerSenderMs;
    });
    if (answeredLately || qsizetype(m_answered.size()) >= MaxAnswers)
        return std::nullopt;
    m_answered.emplace_back(now, sender);
    return text;
}
