// The only code that touches the chat client: it finds the client's windows
// by class and caption, anew on every call, and types into the chat room
// with window messages.
#pragma once

#include "platform/desktop.h"

#include <QString>

WindowHandle FindChatRoom(const Desktop &desktop);
QString GetUser(const Desktop &desktop);
void ChatSend(Desktop &desktop, const QString &text);
QString GetText(const Desktop &desktop, WindowHandle window);
void HideWelcome(Desktop &desktop);
void ShowWelcome(Desktop &desktop);
