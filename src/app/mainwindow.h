// Form1, the main window: the track list, the playback buttons, the play
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
class Form2;
class Form3;
class Form4;
class Form5;
class Form6;
class Form7;
class Form8;
class MediaPlayer;
class PlayerActions;
class PlayerState;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QScrollBar;

class Form1 : public QWidget
{
    Q_OBJECT

    // First, so that everything below can be built from it.
    ProgramCore &m_core;
    Environment &m_environment;

public:
    explicit Form1(ProgramCore &core);
    ~Form1() override;

    // The program's start-up sequence; runs once, when the program starts.
    void load() { m_core.start(); }
    Environment &environment() { return m_environment; }
    // What the controls show; they are its views.
    PlayerState &playerState() { return m_environment.playerState; }

    Form2 &form2(); // path chooser
    Form3 &form3(); // song picker
    Form4 &form4(); // style chooser
    Form5 &form5(); // options menu
    Form6 &form6(); // style editor
    Form7 &form7(); // about
    Form8 &form8(); // command list
    bool form2Loaded() const { return bool(m_form2); }
    bool form4Loaded() const { return bool(m_form4); }
    bool form6Loaded() const { return bool(m_form6); }
    // The style editor alone is unloaded, after a save.
    void unloadForm6();
    // Empties the song picker's list; a picker not yet made has none.
    void clearPickerList();
    // What the chat commands act on; valid as long as the program.
    CommandContext commandContext() { return m_core.commandContext(); }

    // The program's settings, read afresh wherever they are used.
    StylePieces &style = m_core.settings.style;
    QString &Trigger = m_core.settings.Trigger;
    QString &Handle = m_core.settings.Handle;
    QString &mpath = m_core.settings.mpath;
    Announcer &announcer = m_core.announcer;

    // Title strip.
    ClickLabel *Label4 = nullptr; // title; dragging it moves the window
    ClickLabel *Label7 = nullptr; // roll up
    ClickLabel *Label3 = nullptr; // roll down
    ClickLabel *Label6 = nullptr; // minimise
    ClickLabel *Label2 = nullptr; // close the program
    // Tracks and directory.
    FileListBox *File1 = nullptr; // track list
    QLabel *Label1 = nullptr;     // "Mp3 Path:"
    QLineEdit *path = nullptr;    // the directory, display only
    ClickLabel *Label5 = nullptr; // "New Path"
    ClickLabel *refresh = nullptr;
    // Playback.
    ClickLabel *last = nullptr; // previous
    ClickLabel *play = nullptr;
    ClickLabel *stop = nullptr;
    ClickLabel *pause = nullptr;
    ClickLabel *next = nullptr;
    ClickLabel *mute = nullptr;
    QCheckBox *Check1 = nullptr; // "random"
    QCheckBox *Check2 = nullptr; // "continuous"
    // Volume, options, balance.
    QGroupBox *Frame1 = nullptr;
    QScrollBar *HScroll1 = nullptr; // volume, 1 to 100
    QLabel *volume1 = nullptr;
    ClickLabel *Label8 = nullptr; // "options"
    QGroupBox *Frame3 = nullptr;
    QScrollBar *HScroll3 = nullptr; // balance, -5000 to 5000
    QLabel *Label9 = nullptr;

    PlayerActions *playerActions = m_core.playerActions; // everything the player does goes through it
    MediaPlayer &MediaPlayer1;
    ChatScan *chat1 = m_core.chat1; // the command scan
    ChatScan *chat2 = m_core.chat2; // the song search's second scan
    ChatScan *chat3 = m_core.chat3; // never started

private:
    void placeControls();
    void connectControls();

    std::unique_ptr<Form2> m_form2;
    std::unique_ptr<Form3> m_form3;
    std::unique_ptr<Form4> m_form4;
    std::unique_ptr<Form5> m_form5;
    std::unique_ptr<Form6> m_form6;
    std::unique_ptr<Form7> m_form7;
    std::unique_ptr<Form8> m_form8;
};
