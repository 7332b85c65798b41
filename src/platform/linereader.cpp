#include "platform/linereader.h"

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
}

void LineReader::readAvailable()
{
    char buffer[65536];
    ssize_t n = ::read(m_fd, buffer, sizeof buffer);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n <= 0) {
        m_notifier->setEnabled(false);
        m_atEnd = true;
        if (!m_pending.isEmpty()) {
            QByteArray last = std::exchange(m_pending, {});
            emit lineRead(last);
        }
        emit endOfInput();
        return;
    }
    m_pending.append(buffer, n);
    // Lines are handed out one by one; a handler may run a nested loop and
    // come back here, so the buffer is consumed before each signal.
    qsizetype newline;
    while ((newline = m_pending.indexOf('\n')) >= 0) {
        QByteArray line = m_pending.left(newline);
        m_pending.remove(0, newline + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        emit lineRead(line);
    }
}
