#include "chat/chatscan.h"

#include "chat/clientwindows.h"
#include "platform/chatclient.h"
#include "platform/nestedloop.h"

ChatScan::ChatScan(ChatClient &client, QObject *parent)
    : QObject(parent)
    , m_client(client)
{
    connect(&m_client, &ChatClient::lineReceived, this, &ChatScan::lineReceived);
    connect(&LineGate::instance(), &LineGate::opened, this, &ChatScan::releaseHeld);
}

void ChatScan::lineReceived(WindowHandle room, const ChatClientLine &line)
{
    if (!m_scanning || room != FindChatRoom(m_client.desktop()))
        return;
    // Queued: a line said inside a handler (an announcement) is reported
    // once that handler is done, never in the middle of it.
    QMetaObject::invokeMethod(
        this, [this, line = Line{line.screenName, line.text, line.deputy}]() mutable { arrive(std::move(line)); },
        Qt::QueuedConnection);
}

void ChatScan::arrive(Line line)
{
    if (!m_held.empty() || !LineGate::isOpen()) {
        m_held.push_back(std::move(line));
        return;
    }
    report(line);
}

void ChatScan::releaseHeld()
{
    if (m_releasePosted || m_held.empty())
        return;
    m_releasePosted = true;
    QMetaObject::invokeMethod(this, &ChatScan::deliverHeld, Qt::QueuedConnection);
}

// One held line at a time, each in its own turn as it would have come.
void ChatScan::deliverHeld()
{
    m_releasePosted = false;
    if (m_held.empty() || !LineGate::isOpen())
        return;
    const Line line = std::move(m_held.front());
    m_held.pop_front();
    // The next may come during this one's waits.
    releaseHeld();
    report(line);
}

void ChatScan::report(const Line &line)
{
    if (!m_scanning)
        return;
    if (line.deputy)
        emit DeputyLine(line.screenName, line.text);
    else
        emit ChatLine(line.screenName, line.text);
}
