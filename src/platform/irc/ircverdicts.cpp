#include "platform/irc/ircverdicts.h"

#include <algorithm>

quint64 IrcVerdicts::sent(const QString &target, const QString &text)
{
    m_lines.push_back({++m_next, target, text});
    if (qsizetype(m_lines.size()) > MaxLines)
        m_lines.pop_front();
    return m_next;
}

void IrcVerdicts::echoed(const QString &target)
{
    takeOldest(target);
}

void IrcVerdicts::answeredUpTo(quint64 number)
{
    while (!m_lines.empty() && m_lines.front().number <= number)
        m_lines.pop_front();
}

std::optional<QString> IrcVerdicts::refused(const QString &target)
{
    return takeOldest(target);
}

std::optional<QString> IrcVerdicts::takeOldest(const QString &target)
{
    const auto it = std::find_if(m_lines.begin(), m_lines.end(),
                                 [&](const Sent &line) { return m_sameTarget(line.target, target); });
    if (it == m_lines.end())
        return std::nullopt;
    QString text = std::move(it->text);
    m_lines.erase(it);
    return text;
}
