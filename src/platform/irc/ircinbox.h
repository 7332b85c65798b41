// What the session's listeners have not been told yet, oldest first. Only
// lines and notices make it grow, and only up to a bound: a server that
// repeats joins, leaves or nick changes keeps it no longer than its lines,
// and lines and notices beyond the bound are counted, not kept.
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
        // Sent to us alone rather than to the channel.
        bool privately = false;
    };
    // The channel's life apart from what is said in it (who joined, the
    // topic, a NOTICE), as plain text for the room.
    struct Notice { QString text; };
    struct Joined {};
    struct Left { QString why; };
    struct NickChanged { QString nick; };
    // Lines and notices not kept because too many were waiting.
    struct Skipped { qsizetype count = 0; };
    using Event = std::variant<Line, Notice, Joined, Left, NickChanged, Skipped>;

    void post(Event event);
    void postLine(Line line) { postCounted(std::move(line)); }
    void postNotice(Notice notice) { postCounted(std::move(notice)); }
    std::optional<Event> take();
    // A new link's events only: what the old one's would have changed for
    // the listeners (the room left, the nick) and how many lines it lost.
    void restart();

    bool isEmpty() const { return m_events.empty(); }
    bool isFull() const { return m_lines >= MaxLines; }

private:
    static bool counted(const Event &event)
    {
        return std::holds_alternative<Line>(event) || std::holds_alternative<Notice>(event);
    }
    void postCounted(Event event);

    std::deque<Event> m_events;
    qsizetype m_lines = 0;
    // Whether the listeners were last told of a join (and not a leave).
    bool m_listenersInChannel = false;
};
