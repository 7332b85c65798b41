#include "platform/irc/ircinbox.h"

void IrcInbox::post(Event event)
{
    if (!m_events.empty()) {
        Event &last = m_events.back();
        if ((std::holds_alternative<Joined>(event) && std::holds_alternative<Left>(last))
            || (std::holds_alternative<Left>(event) && std::holds_alternative<Joined>(last))) {
            m_events.pop_back();
            return;
        }
        if (std::holds_alternative<NickChanged>(event) && std::holds_alternative<NickChanged>(last)) {
            last = std::move(event);
            return;
        }
    }
    m_events.push_back(std::move(event));
}

void IrcInbox::postCounted(Event event)
{
    if (!isFull()) {
        ++m_lines;
        return post(std::move(event));
    }
    if (Skipped *skipped = m_events.empty() ? nullptr : std::get_if<Skipped>(&m_events.back()))
        ++skipped->count;
    else
        post(Skipped{1});
}

std::optional<IrcInbox::Event> IrcInbox::take()
{
    if (m_events.empty())
        return std::nullopt;
    Event event = std::move(m_events.front());
    m_events.pop_front();
    if (counted(event))
        --m_lines;
    else if (std::holds_alternative<Joined>(event) || std::holds_alternative<Left>(event))
        m_listenersInChannel = std::holds_alternative<Joined>(event);
    return event;
}

void IrcInbox::restart()
{
    qsizetype lost = 0;
    std::optional<Left> left;
    std::optional<NickChanged> nick;
    for (const Event &event : m_events) {
        if (const Skipped *skipped = std::get_if<Skipped>(&event))
            lost += skipped->count;
        else if (counted(event))
            ++lost;
        else if (const Left *leaving = std::get_if<Left>(&event))
            left = *leaving;
        else if (const NickChanged *changed = std::get_if<NickChanged>(&event))
            nick = *changed;
    }
    m_events.clear();
    m_lines = 0;
    if (m_listenersInChannel)
        post(left.value_or(Left{QStringLiteral("link lost")}));
    if (nick)
        post(*nick);
    if (lost > 0)
        post(Skipped{lost});
}
