// Our lines the server may still refuse, oldest first. A refusal (404 and
// kin) names the target, never the line; but a server answers lines in the
// order they came, so it is about the oldest line to that target still
// waiting. A line is settled as taken by its echo, or, on a server that
// does not echo, by the answer to the PING written right after it: only
// then is it shown as said, so a refused line never is.
#pragma once

#include "platform/irc/ircinbox.h"

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

class IrcVerdicts
{
public:
    // More than are ever on their way at once; a server that answers
    // nothing loses the oldest.
    static constexpr qsizetype MaxLines = 64;
    using SameTarget = std::function<bool(const QString &, const QString &)>;

    explicit IrcVerdicts(SameTarget sameTarget) : m_sameTarget(std::move(sameTarget)) {}

    // Returns the line's number, for the PING that follows it. `shown` is
    // what the room shows once the server has taken the line.
    quint64 sent(const QString &target, const QString &text, std::optional<IrcInbox::Line> shown = {});
    // The server echoed our oldest line to this target.
    void echoed(const QString &target);
    // The server answered the PING that followed this line: it took every
    // line up to here that it did not refuse. Returns what to show of them.
    std::vector<IrcInbox::Line> answeredUpTo(quint64 number);
    // The text of the line refused, if one of ours to that target waits.
    std::optional<QString> refused(const QString &target);
    void clear() { m_lines.clear(); }

private:
    struct Sent {
        quint64 number = 0;
        QString target, text;
        std::optional<IrcInbox::Line> shown;
    };
    std::optional<QString> takeOldest(const QString &target);

    SameTarget m_sameTarget;
    std::deque<Sent> m_lines;
    quint64 m_next = 0;
};
