#include "chat/commands.h"

#include "chat/chatscan.h"
#include "chat/dispatcher.h"
#include "chat/songsearch.h"

void connectCommands(ChatScan &chat1, const CommandContext &context, QObject &owner)
{
    QObject::connect(&chat1, &ChatScan::ChatLine, &owner,
                     [context](const QString &ScreenName, const QString &Text) {
                         handleCommandLine(context, ScreenName, Text);
                     });
    QObject::connect(&context.chat2, &ChatScan::ChatLine, &owner,
                     [context](const QString &ScreenName, const QString &Text) {
                         handleFollowUpLine(context, ScreenName, Text);
                     });
}
