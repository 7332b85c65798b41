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
        [this, screenName = line.screenName, text = line.text] {
            if (m_scanning)
                emit ChatLine(screenName, text);
        },
        Qt::QueuedConnection);
}
