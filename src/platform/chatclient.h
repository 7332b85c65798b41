// The chat client the program lives beside: it signs on one screen name and
// builds its windows in the Desktop (frame, MDI area, Welcome window, chat
// rooms), posts what is entered in a room's entry box as a line of the
// signed-on user, and lets other people's lines be said into a room.
#pragma once

#include "platform/desktop.h"

#include <QObject>
#include <QString>
#include <deque>
#include <vector>

struct ChatClientLine {
    QString screenName;
    QString text;
};

// Why the service would not sign on this screen name, or "" when it would.
// A "!" would end the name in the Welcome window's caption early, and
// control characters or outer blanks would make it look like another's.
QString ScreenNameProblem(const QString &screenName);

class ChatClient : public QObject
{
    Q_OBJECT

public:
    // How many lines a room keeps for its transcript window.
    static constexpr std::size_t TranscriptLength = 500;

    ChatClient(Desktop &desktop, const QString &screenName, QObject *parent = nullptr);
    ~ChatClient() override;

    QString screenName() const { return m_screenName; }
    Desktop &desktop() { return m_desktop; }
    WindowHandle frame() const { return m_frame; }
    WindowHandle mdiArea() const { return m_mdi; }
    WindowHandle welcomeWindow() const { return m_welcome; }

    // A new room opens in front of the client's other document windows.
    WindowHandle openRoom(const QString &roomName);
    void closeRoom(WindowHandle room);
    // The room in front of the others, 0 when none is open.
    WindowHandle currentRoom() const;
    WindowHandle entryBox(WindowHandle room) const;
    const std::deque<ChatClientLine> &transcript(WindowHandle room) const;

    // Says a line into a room as anybody; the room receives it at once.
    void say(WindowHandle room, const QString &screenName, const QString &text);

signals:
    void lineReceived(WindowHandle room, const QString &screenName, const QString &text);

private:
    struct Room {
        WindowHandle window = 0;
        WindowHandle entry = 0;
        std::deque<ChatClientLine> transcript;
    };

    void postEntry(WindowHandle entry);
    Room *room(WindowHandle window);
    const Room *room(WindowHandle window) const;

    Desktop &m_desktop;
    QString m_screenName;
    WindowHandle m_frame = 0;
    WindowHandle m_mdi = 0;
    WindowHandle m_welcome = 0;
    std::vector<Room> m_rooms;
};
