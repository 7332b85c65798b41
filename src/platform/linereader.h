// Reads a file descriptor (standard input) line by line on the window
// thread, without ever blocking it.
#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

class LineReader : public QObject
{
    Q_OBJECT

public:
    explicit LineReader(int fd, QObject *parent = nullptr);
    bool atEnd() const { return m_atEnd; }

signals:
    // One line without its line break (LF or CRLF).
    void lineRead(const QByteArray &line);
    void endOfInput();

private:
    void readAvailable();

    int m_fd;
    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_pending;
    bool m_atEnd = false;
};
