// A whole world for a test, built the way main() builds the real one: a
// temporary program directory, a music folder, the window system with the
// chat client signed on and one room open, the player on a silent sink
// that keeps real time (or on a sink the test gives), and the main window.
// Lines are said in the room as anyone, and what the room received can be
// read back.
#pragma once

#include "app/environment.h"
#include "chat/announcement.h"
#include "platform/chatclient.h"
#include "platform/desktop.h"
#include "platform/inputbox.h"
#include "platform/messagebox.h"
#include "player/mediaplayer.h"
#include "player/playerstate.h"

#include <QStringList>
#include <QWidget>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>

class MainWindow;
class ProgramCore;
class QTimer;
typedef struct _GstElement GstElement;

class TestWorld
{
public:
    // The player plays into audioSink when one is given (a LevelSink's
    // element, to hear what it plays), else into the silent sink.
    explicit TestWorld(const QString &screenName = "tester", GstElement *audioSink = nullptr);
    ~TestWorld();

    QString home() const { return m_home.path(); }
    QString musicDir() const { return m_home.path() + "/music"; }
    QString preferencesPath() const { return home() + "/prefs.ini"; }
    // Writes prefs.ini as a user who has set a directory and a handle would
    // have it; an empty value is left out.
    void writePreferences(const QString &mp3Path, const QString &handle);

    // Makes the main window and runs its start-up. A handle prompt, if one
    // comes, gets promptAnswer (nothing: the box is cancelled).
    MainWindow &start(std::optional<QString> promptAnswer = std::nullopt);
    // Makes the main window without starting it, for a test to watch start-up.
    MainWindow &make();
    MainWindow &mainWindow() { return *m_mainWindow; }

    void say(const QString &text) { sayAs(m_client.screenName(), text); }
    void sayAs(const QString &screenName, const QString &text);

    // The texts the room received, in order, everybody's or only those the
    // signed-on user sent (announcements among them).
    QStringList lines(bool usersOnly = false) const;
    QStringList userLines() const { return lines(true); }
    void clearLines() { m_lines.clear(); }
    // Returns once the program is done with every line said so far and no
    // wait of any handler is still running; false on timeout. What a line
    // could have caused is in lines() by then: the ".mp3s?" said as the
    // sentinel is answered only after the lines before it are handled, and
    // the sentinel and its answer are taken out of lines() again.
    bool waitUntilHandled(int timeoutMs = 10000);
    // Whether a line of the room is such a sentinel or an answer like its.
    static bool isSentinel(const QString &text);

    // The announcement of a message in the initial style.
    static QString styled(const QString &message) { return StylePieces::initial().styledLine(message); }

    bool programEnded() const { return m_ended; }

    Desktop desktop;
    ChatClient &client() { return m_client; }
    WindowHandle room() const { return m_room; }
    MediaPlayer player;
    PlayerState playerState;
    DialogInputBox inputBox;
    DialogMessageBox messageBox;
    Environment environment;

private:
    struct Line {
        QString screenName;
        QString text;
    };

    QTemporaryDir m_home;
    ChatClient m_client;
    WindowHandle m_room = 0;
    std::vector<Line> m_lines;
    std::unique_ptr<ProgramCore> m_program;
    MainWindow *m_mainWindow = nullptr;
    bool m_ended = false;
};

// A control of a window, found by its object name as a user's tools find
// it; a name that is not there ends the test run.
template <typename Control>
Control *control(QWidget &window, const char *name)
{
    Control *found = window.findChild<Control *>(name);
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

// Runs `action` once, inside the next wait that begins (the nested loop of
// a handler that waits), however long the machine takes to get there.
void duringNextWait(std::function<void()> action);

// Answers the next modal input box that opens: with a text, or cancels it.
void answerNextInputBox(std::optional<QString> answer);

// Presses OK on the first modal message box that opens while it lives, and
// keeps what that box said.
class MessageBoxAnswer
{
public:
    MessageBoxAnswer();
    ~MessageBoxAnswer();
    bool seen() const { return m_seen; }
    QString title() const { return m_title; }
    QString text() const { return m_text; }

private:
    std::unique_ptr<QTimer> m_poll;
    bool m_seen = false;
    QString m_title;
    QString m_text;
};
