// The one queue of everything the client sends, paced the way RFC 1459
// (section 8.10) says a server paces its clients: a message timer that
// advances two seconds per line and may run at most ten seconds ahead of
// now. That is a burst of five, then one line every two seconds, which no
// server's flood limit disconnects. The channel's lines go by their class
// (postpriority.h), so a reply never waits behind a long listing.
#pragma once

#include "platform/irc/ircclock.h"

#include "platform/postpriority.h"

#include <QByteArray>
#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

class IrcPacer
{
public:
    // Milliseconds on a monotonic clock.
    using Clock = IrcClock;

    static constexpr qint64 StepMs = 2000;
    static constexpr qint64 AheadMs = 10000;
    // A channel line refused beyond this is the caller's to report: the
    // oldest are on their way and are never dropped for newer ones.
    static constexpr qsizetype MaxChannelBytes = 256 * 1024;
    // Replies to the server; a server that floods PINGs gets no more.
    static constexpr qsizetype MaxProtocolBytes = 16 * 1024;

    explicit IrcPacer(Clock clock = {});

    // Protocol replies (CAP, AUTHENTICATE, JOIN) go ahead of the channel's
    // lines; both count on the same timer. False when full.
    bool addProtocol(const QByteArray &line);
    // The answer to the server's newest PING goes ahead of everything, and
    // replaces one still waiting: the server wants one sign of life, not a
    // reply for each PING of a flood.
    void setPong(const QByteArray &line) { m_pong = line; }
    // All of them or none: the pieces of one line are never cut short.
    bool addChannel(const std::vector<QByteArray> &lines, PostPriority priority = PostPriority::Reply);
    // The next line that may be sent now, if any; a channel line's class
    // goes into `channelClass`, which is empty for the others.
    std::optional<QByteArray> take(std::optional<PostPriority> *channelClass = nullptr);
    // How long until take() has a line again; -1 when nothing waits.
    qint64 msUntilNext() const;
    bool isEmpty() const { return !m_pong && m_protocol.empty() && channelLines() == 0; }
    qsizetype protocolBytes() const { return m_protocolBytes; }
    // Channel lines still waiting, so that the caller knows which were sent.
    qsizetype channelLines() const;
    // How far each line moves the timer; 0 sends at once, for a server that
    // lets this client send as fast as it likes (a benchmark's).
    void setStepMs(qint64 stepMs) { m_stepMs = stepMs; }
    // Returns how many channel lines were dropped unsent.
    qsizetype clearChannel();
    void clear();

private:
    Clock m_clock;
    qint64 m_stepMs = StepMs;
    qint64 m_timer = 0;
    std::optional<QByteArray> m_pong;
    std::deque<QByteArray> m_protocol;
    std::array<std::deque<QByteArray>, PostPriorities> m_channel;
    qsizetype m_protocolBytes = 0;
    qsizetype m_channelBytes = 0;
};
