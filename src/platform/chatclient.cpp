#include "platform/chatclient.h"

#include "platform/chatmarkup.h"

#include <algorithm>

namespace {

constexpr ushort Enter = 13;

QString frameCaption(const QString &screenName)
{
    return "Chat Client - " + screenName;
}

QString welcomeCaption(const QString &screenName)
{
    return "Welcome, " + screenName + "!";
}

} // namespace

QString ScreenNameProblem(const QString &screenName)
{
    if (screenName.isEmpty())
        return QStringLiteral("a screen name can't be empty");
    if (screenName.contains(u'!'))
        return QStringLiteral("a screen name can't hold \"!\"");
    if (std::any_of(screenName.begin(), screenName.end(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        return QStringLiteral("a screen name can't hold control characters");
    if (screenName.front().isSpace() || screenName.back().isSpace())
        return QStringLiteral("a screen name can't begin or end with a blank");
    return {};
}

ChatClient::ChatClient(Desktop &desktop, const QString &screenName, QObject *parent)
    : QObject(parent)
    , m_desktop(desktop)
    , m_screenName(screenName)
{
    m_frame = m_desktop.createWindow(0, "AOL Frame25", frameCaption(screenName));
    m_mdi = m_desktop.createWindow(m_frame, "MDIClient", QString());
    m_welcome = m_desktop.createWindow(m_mdi, "AOL Child", welcomeCaption(screenName));
}

void ChatClient::setScreenName(const QString &screenName)
{
    if (screenName == m_screenName)
        return;
    m_screenName = screenName;
    QString frame = frameCaption(screenName), welcome = welcomeCaption(screenName);
    m_desktop.sendMessage(m_frame, WindowMessage::SetText, 0, &frame);
    m_desktop.sendMessage(m_welcome, WindowMessage::SetText, 0, &welcome);
    emit screenNameChanged(screenName);
}

void ChatClient::setStatus(const QString &status)
{
    if (status == m_status)
        return;
    m_status = status;
    emit statusChanged(status);
}

ChatClient::~ChatClient()
{
    m_desktop.destroyWindow(m_frame);
}

WindowHandle ChatClient::openRoom(const QString &roomName, Poster poster, TypedPoster typedPoster)
{
    WindowHandle window = m_desktop.createWindow(m_mdi, "AOL Child", roomName);
    // Created back to front: each new child goes on top, so the entry box,
    // made last, is the room's first RICHCNTL.
    m_desktop.createWindow(window, "_AOL_Static", roomName);
    m_desktop.createWindow(window, "_AOL_Listbox", QString());
    m_desktop.createWindow(window, "_AOL_Icon", "Send");
    m_desktop.createWindow(window, "RICHCNTL", QString()); // the transcript
    WindowHandle entry = m_desktop.createWindow(window, "RICHCNTL", QString());
    m_desktop.setMessageHandler(entry, [this](WindowHandle box, quint32 message, quintptr code) {
        if (message == WindowMessage::Char && code == Enter)
            postEntry(box);
    });
    m_rooms.push_back(Room{window, entry, std::move(poster), std::move(typedPoster), {}});
    emit roomOpened(window);
    return window;
}

void ChatClient::closeRoom(WindowHandle window)
{
    auto it = std::find_if(m_rooms.begin(), m_rooms.end(), [&](const Room &r) { return r.window == window; });
    if (it == m_rooms.end())
        return;
    m_rooms.erase(it);
    m_desktop.destroyWindow(window);
    emit roomClosed(window);
}

bool ChatClient::hasPoster(WindowHandle window) const
{
    const Room *r = room(window);
    return r && r->poster;
}

WindowHandle ChatClient::currentRoom() const
{
    for (WindowHandle child = m_desktop.findWindowEx(m_mdi, 0, "AOL Child"); child;
         child = m_desktop.findWindowEx(m_mdi, child, "AOL Child")) {
        if (room(child))
            return child;
    }
    return 0;
}

WindowHandle ChatClient::entryBox(WindowHandle window) const
{
    const Room *r = room(window);
    return r ? r->entry : 0;
}

const std::deque<ChatTranscriptLine> &ChatClient::transcript(WindowHandle window) const
{
    static const std::deque<ChatTranscriptLine> none;
    const Room *r = room(window);
    return r ? r->transcript : none;
}

void ChatClient::post(WindowHandle window, const QString &text)
{
    const Room *r = room(window);
    if (!r)
        return;
    if (!r->poster) {
        say(window, m_screenName, text);
        return;
    }
    if (text.isEmpty())
        return;
    // A copy: the poster may close the room, and with it the one it holds.
    const Poster poster = r->poster;
    poster(text);
}

void ChatClient::postTyped(WindowHandle window, const QString &text)
{
    const Room *r = room(window);
    if (!r || !r->typedPoster || text.isEmpty())
        return post(window, text);
    // A copy: the poster may close the room, and with it the one it holds.
    const TypedPoster poster = r->typedPoster;
    poster(text);
}

void ChatClient::say(WindowHandle window, const QString &screenName, const QString &text)
{
    deliver(window, {screenName, text, text});
}

void ChatClient::deliver(WindowHandle window, const ChatClientLine &line)
{
    Room *r = room(window);
    if (!r)
        return;
    keep(*r, {line.screenName, line.shown});
    emit lineShown(window, line);
    if (!line.earlier)
        emit lineReceived(window, line);
}

void ChatClient::notify(WindowHandle window, const QString &text)
{
    Room *r = room(window);
    if (!r)
        return;
    keep(*r, {QString(), text, true});
    emit noticeShown(window, text);
}

void ChatClient::keep(Room &into, ChatTranscriptLine line)
{
    // The room keeps what its window can show of a line, and no more.
    line.screenName.truncate(ChatLineShown + 1);
    line.shown.truncate(ChatLineShown + 1);
    into.transcript.push_back(std::move(line));
    if (into.transcript.size() > TranscriptLength)
        into.transcript.pop_front();
}

void ChatClient::postEntry(WindowHandle entry)
{
    auto it = std::find_if(m_rooms.begin(), m_rooms.end(), [&](const Room &r) { return r.entry == entry; });
    if (it == m_rooms.end())
        return;
    WindowHandle window = it->window;
    QString text = m_desktop.getWindowText(entry, m_desktop.getWindowTextLength(entry) + 1);
    if (text.isEmpty())
        return; // an empty entry box posts nothing, as a chat client's does
    QString cleared;
    m_desktop.sendMessage(entry, WindowMessage::SetText, 0, &cleared);
    post(window, text);
}

ChatClient::Room *ChatClient::room(WindowHandle window)
{
    auto it = std::find_if(m_rooms.begin(), m_rooms.end(), [&](const Room &r) { return r.window == window; });
    return it == m_rooms.end() ? nullptr : &*it;
}

const ChatClient::Room *ChatClient::room(WindowHandle window) const
{
    return const_cast<ChatClient *>(this)->room(window);
}
