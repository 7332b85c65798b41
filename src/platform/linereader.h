// Reads a file descriptor (standard input) line by line on the window
// thread, without ever blocking it. Lines are handed out one per turn of
// the event loop while the line gate (nestedloop.h) is open: a line's
// handler may wait and take the next line inside its wait, and when waits
// nest as deep as they may, reading stops and the rest stays in the pipe.
#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

class LineReader : public QObject
{
    Q_OBJECT

public:
    explicit LineReader(int fd, QObject *parent = nullptr);
    // Every line has been handed out and the end of input with them.
    bool atEnd() const { return m_atEnd; }

signals:
    // One line without its line break (LF or CRLF).
    void lineRead(const QByteArray &line);
    void endOfInput();

private:
    void readAvailable();
    void handOver();
    void handOverLater();

    int m_fd;
    QSocketNotifier *m_notifier = nullptr;
    // What was read and not yet handed out starts at m_from: at most one
    // read's worth besides a line still being read.
    QByteArray m_pending;
    qsizetype m_from = 0;
    bool m_endRead = false;
    bool m_atEnd = false;
    bool m_handOverQueued = false;
};
