#include "app/programcore.h"

#include "app/commandwindows.h"
#include "app/mainwindow.h"
#include "chat/chatscan.h"
#include "chat/commands.h"
#include "chat/programactions.h"
#include "platform/directorylistbox.h"
#include "platform/inifile.h"
#include "platform/inputbox.h"
#include "platform/stayontop.h"
#include "platform/terminalface.h"
#include "platform/twips.h"
#include "player/playeractions.h"
#include "player/playerstate.h"
#include "player/waitseconds.h"
#include "windows/pathchooser.h"

#include <QDir>

ProgramCore::ProgramCore(Environment &environment)
    : m_environment(environment)
    , m_commandWindows(std::make_unique<CommandWindows>(*this))
{
    environment.playerState.tracks().setPattern("*.mp3");
    commandScan = new ChatScan(environment.chatClient, this);
    searchScan = new ChatScan(environment.chatClient, this);
    playerActions = new PlayerActions(
        environment.playerState, environment.player, [this](const QString &message) { announcer.announce(message); },
        // A picker not yet made has no list to empty.
        [this] {
            if (m_mainWindow)
                m_mainWindow->clearPickerList();
        },
        this);
    m_programActions = std::make_unique<ProgramActions>(announcer, *m_commandWindows, *playerActions);
    connectCommands(*commandScan, commandContext(), *this);
}

ProgramCore::~ProgramCore()
{
    // The windows go first: they show what the rest holds.
    m_mainWindow.reset();
}

QString ProgramCore::preferencesPath() const
{
    // Joined with "/" as given, without normalising: a trailing separator
    // on the directory is the caller's to avoid.
    return m_environment.home + QStringLiteral("/prefs.ini");
}

void ProgramCore::storePreference(const QString &section, const QString &key, const QString &value)
{
    QDir().mkpath(m_environment.home);
    WriteIni(section, key, value, preferencesPath());
}

CommandContext ProgramCore::commandContext()
{
    return CommandContext{*playerActions, announcer, settings.trigger, settings.handle, *searchScan, m_environment.desktop,
                          *m_commandWindows, *m_programActions};
}

void ProgramCore::useMusicFolder(const QString &folder)
{
    settings.musicFolder = folder;
    if (m_mainWindow)
        m_mainWindow->showMusicFolder(folder);
    m_environment.playerState.tracks().setPath(folder);
    storePreference("iNfO", "mp3 path", folder);
    m_pathChooserVoice.announce(settings.handle + " set path to " + PlainToHtml(readablePath(folder)));
}

MainWindow &ProgramCore::mainWindow()
{
    if (!m_mainWindow) {
        m_mainWindow = std::make_unique<MainWindow>(*this);
        // Made after the start-up would have shown it: as the start-up
        // would have left it.
        if (m_started) {
            placeAtStartPosition(m_mainWindow.get());
            m_mainWindow->show();
            StayOnTop(m_mainWindow.get());
        }
    }
    return *m_mainWindow;
}

void ProgramCore::start()
{
    commandScan->StartScan();
    const QString prefs = preferencesPath();
    // The folder is a file name, whose bytes need not be UTF-8.
    settings.musicFolder = ReadIniFileName("info", "mp3 path", prefs);
    // The terminal face shows no window, unless the path chooser has to ask
    // for a folder.
    const bool windowAtStart = !m_environment.terminal || settings.musicFolder.isEmpty();
    if (windowAtStart)
        placeAtStartPosition(&mainWindow());
    settings.handle = ReadIni("info", "handle", prefs);
    if (windowAtStart)
        m_mainWindow->showMusicFolder(ReadIniFileName("iNfO", "mp3 path", prefs));
    m_environment.playerState.tracks().setPath(ReadIniFileName("iNfO", "mp3 path", prefs));

    playerActions->moveVolumeBar(100);

    // The terminal face asks one question at a time, the handle first (the
    // one the first line answers): the path chooser asks once the user is
    // announced, and lines typed ahead wait for it.
    TerminalFace *const terminal = m_environment.terminal;
    const bool chooserAtStart = settings.musicFolder.isEmpty();
    if (terminal && chooserAtStart)
        terminal->holdInput();
    if (chooserAtStart) {
        if (!terminal)
            m_mainWindow->pathChooser().show();
        m_mainWindow->hide();
    } else {
        if (m_mainWindow)
            m_mainWindow->show();
        m_started = true;
    }

    if (settings.handle.isEmpty()) {
        const QString answer = m_environment.inputBox.ask("state ya handle", " ", QString()).value_or(QString());
        if (!answer.isEmpty()) {
            settings.handle = answer;
            storePreference("iNfO", "handLe", answer);
        }
    }
    settings.handle = ReadIni("iNfO", "handLe", prefs);

    announcer.announce(QString::fromUtf8("Ðûñ² løªded "));
    WaitSeconds(0.55);
    announcer.announce("user: " + settings.handle);
    if (windowAtStart)
        StayOnTop(m_mainWindow.get());
    m_started = true;
    if (terminal && chooserAtStart) {
        m_mainWindow->pathChooser().show();
        terminal->resumeInput();
    }
}
