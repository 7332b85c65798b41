#include "chat/commands.h"

#include "app/mainwindow.h"
#include "chat/chatscan.h"
#include "chat/dispatcher.h"
#include "chat/songsearch.h"

void connectCommands(Form1 &form)
{
    QObject::connect(form.chat1, &ChatScan::ChatLine, &form,
                     [&form](const QString &ScreenName, const QString &Text) {
                         handleCommandLine(form, ScreenName, Text);
                     });
    QObject::connect(form.chat2, &ChatScan::ChatLine, &form,
                     [&form](const QString &ScreenName, const QString &Text) {
                         handleFollowUpLine(form, ScreenName, Text);
                     });
}
