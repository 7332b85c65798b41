#include "platform/linereader.h"

#include "platform/nestedloop.h"

#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

LineReader::LineReader(int fd, QObject *parent)
    : QObject(parent)
    , m_fd(fd)
{
    int flags = fcntl(m_fd, F_GETFL);
    if (flags != -1)
        fcntl(m_fd, F_SETFL, flags | O_NONBLOCK);
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &LineReader::readAvailable);
    connect(&LineGate::instance(), &LineGate::opened, this, &LineReader::handOverLater);
}

void LineReader::readAvailable()
{
    char buffer[65536];
    ssize_t n = ::read(m_fd, buffer, sizeof buffer);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    // Nothing more is read until these bytes have been handed out.
    m_notifier->setEnabled(false);
    if (n <= 0)
        m_endRead = true;
    else
        m_pending.append(buffer, n);
    handOver();
}

void LineReader::handOverLater()
{
    if (!std::exchange(m_handOverQueued, true))
        QMetaObject::invokeMethod(this, &LineReader::handOver, Qt::QueuedConnection);
}

void LineReader::handOver()
{
    m_handOverQueued = false;
    if (m_atEnd || !LineGate::isOpen())
        return;
    const qsizetype newline = m_pending.indexOf('\n', m_from);
    if (newline < 0 && !m_endRead) {
        m_pending.remove(0, m_from);
        m_from = 0;
        m_notifier->setEnabled(true);
        return;
    }
    if (newline < 0 && m_from == m_pending.size()) {
        m_atEnd = true;
        m_pending.clear();
        emit endOfInput();
        return;
    }
    const qsizetype end = newline < 0 ? m_pending.size() : newline;
    QByteArray line = m_pending.sliced(m_from, end - m_from);
    m_from = newline < 0 ? end : end + 1;
    if (line.endsWith('\r'))
        line.chop(1);
    // Queued before the line goes out: the next line comes in a later turn
    // of the event loop, inside the wait of a handler that waits.
    handOverLater();
    emit lineRead(line);
}
