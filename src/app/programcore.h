// The program apart from its windows: the settings it runs with, the
// announcer, the two chat scans, the player's actions and what the chat
// commands act on. The main window is made where it shows at start-up, and
// otherwise at its first use (the terminal face starts with no window).
#pragma once

#include "app/environment.h"
#include "chat/announcement.h"
#include "chat/commandcontext.h"

#include <QObject>
#include <memory>

class ChatScan;
class MainWindow;
class PlayerActions;
class ProgramActions;
class ProgramWindows;

// The settings the program runs with, read afresh wherever they are used;
// every window reads them here.
struct ProgramSettings {
    StylePieces style = StylePieces::initial();
    QString trigger = "."; // prefix of chat commands
    QString handle;        // the user's handle, a display name
    QString musicFolder;   // the MP3 directory
};

class ProgramCore : public QObject
{
    Q_OBJECT

    // First, so that everything below can be built from it.
    Environment &m_environment;

public:
    explicit ProgramCore(Environment &environment);
    ~ProgramCore() override;

    // The start-up sequence; runs once, when the program starts.
    void start();
    Environment &environment() { return m_environment; }
    QString preferencesPath() const;
    // Stores a preference, making the program's directory first if it is
    // not there yet; a failed write is not reported to the user.
    void storePreference(const QString &section, const QString &key, const QString &value);
    // What the chat commands act on; valid as long as the program.
    CommandContext commandContext();
    // The path chooser's "Set" and a file opened from the desktop: the
    // folder becomes the MP3 directory, listed, shown and stored, and the
    // user says so in the path chooser's own style (always the initial one).
    void useMusicFolder(const QString &folder);

    // Made at its first use, placed and shown as the start-up would have.
    MainWindow &mainWindow();
    bool hasMainWindow() const { return bool(m_mainWindow); }

    ProgramSettings settings;
    Announcer announcer{m_environment.desktop, settings.style};
    ChatScan *commandScan = nullptr;        // the command scan
    ChatScan *searchScan = nullptr;         // the song search's second scan
    PlayerActions *playerActions = nullptr; // everything the player does goes through it

private:
    std::unique_ptr<ProgramWindows> m_commandWindows;
    std::unique_ptr<ProgramActions> m_programActions;
    std::unique_ptr<MainWindow> m_mainWindow;
    bool m_started = false;
    const StylePieces m_pathChooserStyle = StylePieces::initial();
    const Announcer m_pathChooserVoice{m_environment.desktop, m_pathChooserStyle};
};
