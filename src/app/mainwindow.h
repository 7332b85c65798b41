// The main window: the track list, the playback buttons, the play
// modes, volume and balance, and a title strip with its own window buttons;
// the program it shows (settings, scans, the player's actions) is the
// ProgramCore's. Secondary windows are made at their first reference and
// afterwards only hidden and shown.
#pragma once

#include "app/programcore.h"

#include <QWidget>
#include <memory>

class ClickLabel;
class FileListBox;
class PathChooser;
class SongPicker;
class StyleChooser;
class OptionsMenu;
class StyleEditor;
class AboutWindow;
class CommandList;
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
    // The program it shows: its settings, announcer, scans and actions.
    ProgramCore &program() { return m_core; }

    // The folder shown beside "Mp3 Path:", as the user reads it.
    void showMusicFolder(const QString &folder);
    // Which of the two roll glyphs is on offer: roll down once rolled up.
    void showRollGlyph(bool rolledUp);

private:
    // The wiring of the controls, kept apart for size, reaches them.
    friend void connectPlayerControls(MainWindow &form);
    friend void connectWindowControls(MainWindow &form);

    // Title strip.
    ClickLabel *titleLabel = nullptr; // dragging it moves the window
    ClickLabel *rollUpLabel = nullptr;
    ClickLabel *rollDownLabel = nullptr;
    ClickLabel *minimiseLabel = nullptr;
    ClickLabel *closeLabel = nullptr; // closes the program
    // Tracks and folder.
    FileListBox *trackList = nullptr;
    QLabel *pathCaption = nullptr; // "Mp3 Path:"
    QLineEdit *path = nullptr;     // the folder, display only
    ClickLabel *newPathLabel = nullptr;
    ClickLabel *refreshLabel = nullptr;
    // Playback.
    ClickLabel *previousLabel = nullptr;
    ClickLabel *playLabel = nullptr;
    ClickLabel *stopLabel = nullptr;
    ClickLabel *pauseLabel = nullptr;
    ClickLabel *nextLabel = nullptr;
    ClickLabel *muteLabel = nullptr;
    QCheckBox *randomBox = nullptr;
    QCheckBox *continuousBox = nullptr;
    // Volume, options, balance.
    QGroupBox *volumeFrame = nullptr;
    QScrollBar *volumeBar = nullptr; // 1 to 100
    QLabel *volumeLabel = nullptr;
    ClickLabel *optionsLabel = nullptr;
    QGroupBox *balanceFrame = nullptr;
    QScrollBar *balanceBar = nullptr; // -5000 to 5000
    QLabel *balanceLabel = nullptr;

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
