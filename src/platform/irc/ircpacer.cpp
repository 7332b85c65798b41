#include "platform/irc/ircpacer.h"

#include <algorithm>
#include <numeric>
#include <utility>

IrcPacer::IrcPacer(Clock clock)
    : m_clock(clock ? std::move(clock) : Clock(MonotonicMs))
    , m_timer(m_clock())
{
}

bool IrcPacer::addProtocol(const QByteArray &line)
{
    if (m_protocolBytes + line.size() > MaxProtocolBytes)
        return false;
    m_protocolBytes += line.size();
    m_protocol.push_back(line);
    return true;
}

bool IrcPacer::addChannel(const std::vector<QByteArray> &lines, PostPriority priority)
{
    const qsizetype bytes = std::accumulate(lines.begin(), lines.end(), qsizetype(0),
                                            [](qsizetype sum, const QByteArray &line) { return sum + line.size(); });
    if (m_channelBytes + bytes > MaxChannelBytes)
        return false;
    m_channelBytes += bytes;
    std::deque<QByteArray> &queue = m_channel[std::size_t(priority)];
    queue.insert(queue.end(), lines.begin(), lines.end());
    return true;
}

std::optional<QByteArray> IrcPacer::take(std::optional<PostPriority> *channelClass)
{
    if (channelClass)
        channelClass->reset();
    if (isEmpty() || msUntilNext() > 0)
        return std::nullopt;
    m_timer = std::max(m_timer, m_clock()) + m_stepMs;
    if (m_pong)
        return std::exchange(m_pong, std::nullopt);
    if (!m_protocol.empty()) {
        QByteArray line = std::move(m_protocol.front());
        m_protocol.pop_front();
        m_protocolBytes -= line.size();
        return line;
    }
    const auto queue = std::find_if(m_channel.begin(), m_channel.end(), [](const auto &q) { return !q.empty(); });
    QByteArray line = std::move(queue->front());
    queue->pop_front();
    m_channelBytes -= line.size();
    if (channelClass)
        *channelClass = PostPriority(queue - m_channel.begin());
    return line;
}

qsizetype IrcPacer::channelLines() const
{
    return std::accumulate(m_channel.begin(), m_channel.end(), qsizetype(0),
                           [](qsizetype sum, const auto &queue) { return sum + qsizetype(queue.size()); });
}

qint64 IrcPacer::msUntilNext() const
{
    if (isEmpty())
        return -1;
    return std::max<qint64>(0, m_timer + m_stepMs - AheadMs - m_clock());
}

qsizetype IrcPacer::clearChannel()
{
    const qsizetype dropped = channelLines();
    for (std::deque<QByteArray> &queue : m_channel)
        queue.clear();
    m_channelBytes = 0;
    return dropped;
}

void IrcPacer::clear()
{
    clearChannel();
    m_protocol.clear();
    m_protocolBytes = 0;
    m_pong.reset();
}
