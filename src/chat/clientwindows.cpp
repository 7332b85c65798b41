#include "chat/clientwindows.h"

namespace {

const QString FrameClass = "AOL Frame25";
const QString MdiClass = "MDIClient";
const QString ChildClass = "AOL Child";
const QString EntryClass = "RICHCNTL";
const QString WelcomePrefix = "Welcome, ";
// The controls a chat room has, and other document windows lack.
const QString RoomControlClasses[] = {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static"};
constexpr quintptr Enter = 13;

WindowHandle mdiArea(const Desktop &desktop)
{
    WindowHandle frame = desktop.findWindow(FrameClass);
    return frame ? desktop.findWindowEx(frame, 0, MdiClass) : 0;
}

bool isChatRoom(const Desktop &desktop, WindowHandle child)
{
    for (const QString &className : RoomControlClasses)
        if (!desktop.findWindowEx(child, 0, className))
            return false;
    return true;
}

void showWelcome(Desktop &desktop, int command)
{
    WindowHandle mdi = mdiArea(desktop);
    if (!mdi)
        return;
    const QString caption = WelcomePrefix + GetUser(desktop) + "!";
    if (WindowHandle welcome = desktop.findWindowEx(mdi, 0, ChildClass, &caption))
        desktop.showWindow(welcome, command);
}

// What a walk found, and the desktop's stamp when it did.
template <typename Found>
struct LastFound {
    quint64 stamp = 0;
    Found found{};
    bool known = false;

    template <typename Walk>
    const Found &get(const Desktop &desktop, Walk walk)
    {
        if (!known || stamp != desktop.layoutStamp()) {
            found = walk(desktop);
            stamp = desktop.layoutStamp();
            known = true;
        }
        return found;
    }
};

WindowHandle findChatRoom(const Desktop &desktop)
{
    WindowHandle mdi = mdiArea(desktop);
    if (!mdi)
        return 0;
    for (WindowHandle child = desktop.findWindowEx(mdi, 0, ChildClass); child;
         child = desktop.findWindowEx(mdi, child, ChildClass)) {
        if (isChatRoom(desktop, child))
            return child;
    }
    return 0;
}

QString user(const Desktop &desktop)
{
    WindowHandle mdi = mdiArea(desktop);
    if (!mdi)
        return {};
    for (WindowHandle child = desktop.findWindowEx(mdi, 0, ChildClass); child;
         child = desktop.findWindowEx(mdi, child, ChildClass)) {
        QString caption = GetText(desktop, child);
        if (!caption.startsWith(WelcomePrefix))
            continue;
        qsizetype bang = caption.indexOf('!', WelcomePrefix.size());
        // A Welcome caption without "!" names nobody.
        return bang < 0 ? QString() : caption.mid(WelcomePrefix.size(), bang - WelcomePrefix.size());
    }
    return {};
}

} // namespace

WindowHandle FindChatRoom(const Desktop &desktop)
{
    static LastFound<WindowHandle> room;
    return room.get(desktop, findChatRoom);
}

QString GetUser(const Desktop &desktop)
{
    static LastFound<QString> name;
    return name.get(desktop, user);
}

void ChatSend(Desktop &desktop, const QString &text)
{
    WindowHandle room = FindChatRoom(desktop);
    if (!room)
        return;
    WindowHandle entry = desktop.findWindowEx(room, 0, EntryClass);
    // What the user was typing goes back into the box once the line is out,
    // so an announcement never eats a half-typed line.
    QString typed = GetText(desktop, entry);
    QString line = text;
    desktop.sendMessage(entry, WindowMessage::SetText, 0, &line);
    desktop.sendMessage(entry, WindowMessage::Char, Enter);
    if (!typed.isEmpty() && desktop.exists(entry))
        desktop.sendMessage(entry, WindowMessage::SetText, 0, &typed);
}

QString GetText(const Desktop &desktop, WindowHandle window)
{
    if (!window)
        return {};
    int length = desktop.getWindowTextLength(window);
    return desktop.getWindowText(window, length + 1);
}

void HideWelcome(Desktop &desktop)
{
    showWelcome(desktop, ShowCommand::Hide);
}

void ShowWelcome(Desktop &desktop)
{
    showWelcome(desktop, ShowCommand::Show);
}
