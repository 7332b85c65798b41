#include "platform/irc/ircverdicts.h"

#include <algorithm>

quint64 IrcVerdicts::sent(const QString &target, const QString &text, std::optional<IrcInbox::Line> shown)
{
    m_lines.push_back({++m_next, target, text, std::move(shown)});
    if (qsizetype(m_lines.size()) > MaxLines)
        m_lines.pop_front();
    return m_next;
}

void IrcVerdicts::echoed(const QString &target)
{
    takeOldest(target);
}

std::vector<IrcInbox::Line> IrcVerdicts::answeredUpTo(quint64 number)
{
    std::vector<IrcInbox::Line> taken;
    while (!m_lines.empty() && m_lines.front().number <= number) {
        if (m_lines.front().shown)
            taken.push_back(std::move(*m_lines.front().shown));
        m_lines.pop_front();
    }
    return taken;
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
