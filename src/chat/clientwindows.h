// The only code that touches the chat client: it finds the client's windows
// by class and caption, and types into the chat room with window messages.
// The room and the user are looked for anew only once the windows have
// changed since they were last found: every line said is checked against
// both, and lines come by the thousand between two changes.
#pragma once

#include "platform/desktop.h"

#include <QString>

WindowHandle FindChatRoom(const Desktop &desktop);
QString GetUser(const Desktop &desktop);
void ChatSend(Desktop &desktop, const QString &text);
QString GetText(const Desktop &desktop, WindowHandle window);
void HideWelcome(Desktop &desktop);
void ShowWelcome(Desktop &desktop);
