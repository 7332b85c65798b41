// The chat-scanning control: while scanning, it reports every line said in
// the chat room the client shows in front (the user's own lines and the
// program's announcements included), each as a ChatLine on the window
// thread. Lines come after the handler that caused them has returned, as
// they would from a control that watches the room, and one at a time as
// the line gate lets them through (platform/nestedloop.h), in order.
#pragma once

#include "platform/desktop.h"

#include <QObject>
#include <QString>

#include <deque>

class ChatClient;
struct ChatClientLine;

class ChatScan : public QObject
{
    Q_OBJECT

public:
    explicit ChatScan(ChatClient &client, QObject *parent = nullptr);

    void StartScan() { m_scanning = true; }
    void StopScan() { m_scanning = false; }
    bool scanning() const { return m_scanning; }

signals:
    void ChatLine(const QString &ScreenName, const QString &Text);
    // A line of someone the network vouches may play the music, reported
    // instead of as a ChatLine.
    void DeputyLine(const QString &ScreenName, const QString &Text);

private:
    struct Line {
        QString screenName;
        QString text;
        bool deputy;
    };

    void lineReceived(WindowHandle room, const ChatClientLine &line);
    void arrive(Line line);
    void releaseHeld();
    void deliverHeld();
    void report(const Line &line);

    ChatClient &m_client;
    bool m_scanning = false;
    // Lines that came while the gate was shut, and any since, in order.
    std::deque<Line> m_held;
    bool m_releasePosted = false;
};
