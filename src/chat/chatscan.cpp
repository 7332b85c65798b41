#include "chat/chatscan.h"

#include "chat/clientwindows.h"
#include "platform/chatclient.h"

ChatScan::ChatScan(ChatClient &client, QObject *parent)
    : QObject(parent)
    , m_client(client)
{
    connect(&m_client, &ChatClient::lineReceived, this, &ChatScan::lineReceived);
}

void ChatScan::lineReceived(WindowHandle room, const ChatClientLine &line)
{
    if (!m_scanning || room != FindChatRoom(m_client.desktop()))
        return;
    // Queued: a line said inside a handler (an announcement) is reported
    // once that handler is done, never in the middle of it.
    QMetaObject::invokeMethod(
        this,
        [this, screenName = line.screenName, text = line.text, deputy = line.deputy] {
            if (!m_scanning)
                return;
            if (deputy)
                emit DeputyLine(screenName, text);
            else
                emit ChatLine(screenName, text);
        },
        Qt::QueuedConnection);
}
