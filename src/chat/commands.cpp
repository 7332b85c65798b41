#include "chat/commands.h"

#include "chat/chatscan.h"
#include "chat/dispatcher.h"
#include "chat/songsearch.h"

void connectCommands(ChatScan &commandScan, const CommandContext &context, QObject &owner)
{
    QObject::connect(&commandScan, &ChatScan::ChatLine, &owner,
                     [context](const QString &ScreenName, const QString &Text) {
                         handleCommandLine(context, ScreenName, Text);
                     });
    QObject::connect(&context.searchScan, &ChatScan::ChatLine, &owner,
                     [context](const QString &ScreenName, const QString &Text) {
                         handleFollowUpLine(context, ScreenName, Text);
                     });
    QObject::connect(&commandScan, &ChatScan::DeputyLine, &owner,
                     [context](const QString &, const QString &Text) { handleDeputyLine(context, Text); });
    QObject::connect(&context.searchScan, &ChatScan::DeputyLine, &owner,
                     [context](const QString &, const QString &Text) { handleDeputyFollowUp(context, Text); });
}
