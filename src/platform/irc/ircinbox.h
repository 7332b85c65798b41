// What the session's listeners have not been told yet, oldest first. Only
// channel lines make it grow, and only up to a bound: a server that repeats
// joins, leaves or nick changes keeps it no longer than its lines, and lines
// beyond the bound are counted, not kept.
#pragma once

#include <QString>
#include <deque>
#include <optional>
#include <variant>

class IrcInbox
{
public:
    static constexpr qsizetype MaxLines = 256;

    struct Line {
        QString nick, text, account;
        bool action = false, own = false, earlier = false;
    };
    struct Joined {};
    struct Left { QString why; };
    struct NickChanged { QString nick; };
    // Channel lines not kept because too many were waiting.
    struct Skipped { qsizetype count = 0; };
    using Event = std::variant<Line, Joined, Left, NickChanged, Skipped>;

    void post(Event event);
    void postLine(Line line);
    std::optional<Event> take();
    // A new link's events only: what the old one's would have changed for
    // the listeners (the room left, the nick) and how many lines it lost.
    void restart();

    bool isEmpty() const { return m_events.empty(); }
    bool isFull() const { return m_lines >= MaxLines; }

private:
    std::deque<Event> m_events;
    qsizetype m_lines = 0;
    // Whether the listeners were last told of a join (and not a leave).
    bool m_listenersInChannel = false;
};
