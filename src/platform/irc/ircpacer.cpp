#include "platform/irc/ircpacer.h"

#include <QElapsedTimer>
#include <numeric>
#include <utility>

namespace {

qint64 monotonicMs()
{
    static const QElapsedTimer started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return started.elapsed();
}

} // namespace

IrcPacer::IrcPacer(Clock clock)
    : m_clock(clock ? std::move(clock) : Clock(monotonicMs))
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

bool IrcPacer::addChannel(const std::vector<QByteArray> &lines)
{
    const qsizetype bytes = std::accumulate(lines.begin(), lines.end(), qsizetype(0),
                                            [](qsizetype sum, const QByteArray &line) { return sum + line.size(); });
    if (m_channelBytes + bytes > MaxChannelBytes)
        return false;
    m_channelBytes += bytes;
    m_channel.insert(m_channel.end(), lines.begin(), lines.end());
    return true;
}

std::optional<QByteArray> IrcPacer::take()
{
    if (isEmpty() || msUntilNext() > 0)
        return std::nullopt;
    m_timer = std::max(m_timer, m_clock()) + m_stepMs;
    if (m_pong)
        return std::exchange(m_pong, std::nullopt);
    const bool protocol = !m_protocol.empty();
    std::deque<QByteArray> &queue = protocol ? m_protocol : m_channel;
    QByteArray line = std::move(queue.front());
    queue.pop_front();
    (protocol ? m_protocolBytes : m_channelBytes) -= line.size();
    return line;
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
    m_channel.clear();
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
