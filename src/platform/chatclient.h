// The chat client the program lives beside: it signs on one screen name and
// builds its windows in the Desktop (frame, MDI area, Welcome window, chat
// rooms), posts what is entered in a room's entry box as a line of the
// signed-on user, and lets other people's lines be said into a room. A room
// is local, or a network's: then what is posted goes to the network, and
// the room shows a line only when the network delivers it.
#pragma once

#include "platform/desktop.h"

#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <vector>

// One line of a room, in the two forms it has.
struct ChatClientLine {
    QString screenName;
    // What the chat-scanning control reports (a network's line without its
    // own formatting).
    QString text;
    // The chat markup the faces render.
    QString shown;
    // Said before the user came in (a network's replay): the faces show it,
    // nothing reads it as a line said now.
    bool earlier = false;
    // Said by someone the network vouches may play the music (a DJ): it
    // commands the player as the user's own line does, but not the
    // program's windows and settings.
    bool deputy = false;
};

// What a room's transcript keeps of a line for its faces.
struct ChatTranscriptLine {
    QString screenName;
    QString shown;
    // A notice: shown is plain text, and no one said it.
    bool notice = false;
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

    // Takes a line the signed-on user posts into a network's room.
    using Poster = std::function<void(const QString &text)>;
    // Where a network's room takes what the user types. Typed text is said
    // as it stands, never read as chat markup: `<b>` or `&lt;` in it are
    // what the user means to say.
    using TypedPoster = std::function<void(const QString &text)>;

    ChatClient(Desktop &desktop, const QString &screenName, QObject *parent = nullptr);
    ~ChatClient() override;

    QString screenName() const { return m_screenName; }
    // The name actually held changed (a network gave another): the Welcome
    // window, and so GetUser, follow it.
    void setScreenName(const QString &screenName);
    Desktop &desktop() { return m_desktop; }
    WindowHandle frame() const { return m_frame; }
    WindowHandle mdiArea() const { return m_mdi; }
    WindowHandle welcomeWindow() const { return m_welcome; }

    // A new room opens in front of the client's other document windows.
    // Without a poster it is local: a posted line is said at once as the
    // signed-on user's. Without a typed poster, typed lines take the poster.
    WindowHandle openRoom(const QString &roomName, Poster poster = {}, TypedPoster typedPoster = {});
    void closeRoom(WindowHandle room);
    // Whether the room's lines come from a network.
    bool hasPoster(WindowHandle room) const;
    // The room in front of the others, 0 when none is open.
    WindowHandle currentRoom() const;
    WindowHandle entryBox(WindowHandle room) const;
    const std::deque<ChatTranscriptLine> &transcript(WindowHandle room) const;

    // Posts a line as the signed-on user, as Enter in the room's entry box
    // does: to the room's poster (an empty line goes nowhere: a network has
    // none), or said at once in a local room.
    void post(WindowHandle room, const QString &text);
    // Posts what the user typed on a face: in a local room as post() does,
    // in a network's room to its typed poster.
    void postTyped(WindowHandle room, const QString &text);
    // Says a line into a room as anybody; the room receives it at once.
    void say(WindowHandle room, const QString &screenName, const QString &text);
    // A line the network delivers into its room.
    void deliver(WindowHandle room, const ChatClientLine &line);
    // What happens in the room apart from what is said (someone joined, the
    // topic, a private message), in plain text: kept in the transcript and
    // shown by the faces as nobody's line, never read as one said.
    void notify(WindowHandle room, const QString &text);

    // The state of the client's link to its network, for its faces; "" for
    // a local room.
    QString status() const { return m_status; }
    void setStatus(const QString &status);

signals:
    // Every line of a room, for its faces; then, when it is said now, for
    // whatever reads the room's lines.
    void lineShown(WindowHandle room, const ChatClientLine &line);
    void lineReceived(WindowHandle room, const ChatClientLine &line);
    void noticeShown(WindowHandle room, const QString &text);
    void roomOpened(WindowHandle room);
    // Once the room's windows are gone: nothing finds it any more.
    void roomClosed(WindowHandle room);
    void statusChanged(const QString &status);
    void screenNameChanged(const QString &screenName);

private:
    struct Room {
        WindowHandle window = 0;
        WindowHandle entry = 0;
        Poster poster;
        TypedPoster typedPoster;
        std::deque<ChatTranscriptLine> transcript;
    };

    void postEntry(WindowHandle entry);
    static void keep(Room &into, ChatTranscriptLine line);
    Room *room(WindowHandle window);
    const Room *room(WindowHandle window) const;

    Desktop &m_desktop;
    QString m_screenName;
    QString m_status;
    WindowHandle m_frame = 0;
    WindowHandle m_mdi = 0;
    WindowHandle m_welcome = 0;
    std::vector<Room> m_rooms;
};
