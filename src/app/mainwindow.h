// The main window: the track list, the playback buttons, the play
// modes, volume and balance, and a title strip with its own window buttons;
// the program it shows (settings, scans, the player's actions) is the
// ProgramCore's. Secondary windows are made at their first reference and
// afterwards only hidden and shown.
#pragma once

#include "app/programcore.h"

#include <QWidget>
#include <memory>

class ChatScan;
class ClickLabel;
class FileListBox;
class PathChooser;
class SongPicker;
class StyleChooser;
class OptionsMenu;
class StyleEditor;
class AboutWindow;
class CommandList;
class MediaPlayer;
class PlayerActions;
class PlayerState;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QScrollBar;

class MainWindow : public QWidget
{
    Q_OBJECT

    // First, so that everything below can be built from it.
    ProgramCore &m_core;
    Environment &m_environment;

public:
    explicit MainWindow(ProgramCore &core);
    ~MainWindow() override;

    // The program's start-up sequence; runs once, when the program starts.
    void load() { m_core.start(); }
    Environment &environment() { return m_environment; }
    // What the controls show; they are its views.
    PlayerState &playerState() { return m_environment.playerState; }

    PathChooser &pathChooser();
    SongPicker &songPicker();
    StyleChooser &styleChooser();
    OptionsMenu &optionsMenu();
    StyleEditor &styleEditor();
    AboutWindow &aboutWindow();
    CommandList &commandList();
    bool pathChooserLoaded() const { return bool(m_pathChooser); }
    bool styleChooserLoaded() const { return bool(m_styleChooser); }
    bool styleEditorLoaded() const { return bool(m_styleEditor); }
    // The style editor alone is unloaded, after a save.
    void unloadStyleEditor();
    // Empties the song picker's list; a picker not yet made has none.
    void clearPickerList();
    // What the chat commands act on; valid as long as the program.
    CommandContext commandContext() { return m_core.commandContext(); }

    // The program's settings, read afresh wherever they are used.
    StylePieces &style = m_core.settings.style;
    QString &trigger = m_core.settings.trigger;
    QString &handle = m_core.settings.handle;
    QString &musicFolder = m_core.settings.musicFolder;
    Announcer &announcer = m_core.announcer;

    // Title strip.
    ClickLabel *titleLabel = nullptr; // title; dragging it moves the window
    ClickLabel *rollUpLabel = nullptr; // roll up
    ClickLabel *rollDownLabel = nullptr; // roll down
    ClickLabel *minimiseLabel = nullptr; // minimise
    ClickLabel *closeLabel = nullptr; // close the program
    // Tracks and directory.
    FileListBox *trackList = nullptr; // track list
    QLabel *pathCaption = nullptr;     // "Mp3 Path:"
    QLineEdit *path = nullptr;    // the directory, display only
    ClickLabel *newPathLabel = nullptr; // "New Path"
    ClickLabel *refreshLabel = nullptr;
    // Playback.
    ClickLabel *previousLabel = nullptr; // previous
    ClickLabel *playLabel = nullptr;
    ClickLabel *stopLabel = nullptr;
    ClickLabel *pauseLabel = nullptr;
    ClickLabel *nextLabel = nullptr;
    ClickLabel *muteLabel = nullptr;
    QCheckBox *randomBox = nullptr; // "random"
    QCheckBox *continuousBox = nullptr; // "continuous"
    // Volume, options, balance.
    QGroupBox *volumeFrame = nullptr;
    QScrollBar *volumeBar = nullptr; // volume, 1 to 100
    QLabel *volumeLabel = nullptr;
    ClickLabel *optionsLabel = nullptr; // "options"
    QGroupBox *balanceFrame = nullptr;
    QScrollBar *balanceBar = nullptr; // balance, -5000 to 5000
    QLabel *balanceLabel = nullptr;

    PlayerActions *playerActions = m_core.playerActions; // everything the player does goes through it
    MediaPlayer &player;
    ChatScan *commandScan = m_core.commandScan; // the command scan
    ChatScan *searchScan = m_core.searchScan; // the song search's second scan

private:
    void placeControls();
    void connectControls();

    std::unique_ptr<PathChooser> m_pathChooser;
    std::unique_ptr<SongPicker> m_songPicker;
    std::unique_ptr<StyleChooser> m_styleChooser;
    std::unique_ptr<OptionsMenu> m_optionsMenu;
    std::unique_ptr<StyleEditor> m_styleEditor;
    std::unique_ptr<AboutWindow> m_aboutWindow;
    std::unique_ptr<CommandList> m_commandList;
};
