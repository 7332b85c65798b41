// Form1, the main window: the track list, the playback buttons, the play
// modes, volume and balance, a title strip with its own window buttons, and
// the settings the program runs with. Secondary windows are made at their
// first reference and afterwards only hidden and shown.
#pragma once

#include "app/environment.h"
#include "chat/announcement.h"
#include "chat/commandcontext.h"

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
class ProgramWindows;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QScrollBar;

class Form1 : public QWidget
{
    Q_OBJECT

    // First, so that everything below can be built from it.
    Environment &m_environment;

public:
    explicit Form1(Environment &environment);
    ~Form1() override;

    // The start-up sequence; runs once, when the program starts.
    void load();
    QString preferencesPath() const;
    // Stores a preference, making the program's directory first if it is
    // not there yet; a failed write is not reported to the user.
    void storePreference(const QString &section, const QString &key, const QString &value);
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
    // What the chat commands act on; valid as long as the window.
    CommandContext commandContext();

    // Settings, read afresh wherever they are used.
    StylePieces style = StylePieces::initial();
    QString Trigger = "."; // prefix of chat commands
    QString Handle;        // the user's handle, a display name
    QString mpath;         // the MP3 directory
    Announcer announcer{m_environment.desktop, style};

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

    PlayerActions *playerActions = nullptr; // everything the player does goes through it
    MediaPlayer &MediaPlayer1;
    ChatScan *chat1 = nullptr; // the command scan
    ChatScan *chat2 = nullptr; // the song search's second scan
    ChatScan *chat3 = nullptr; // never started

private:
    void placeControls();
    void connectControls();

    std::unique_ptr<ProgramWindows> m_commandWindows;
    std::unique_ptr<Form2> m_form2;
    std::unique_ptr<Form3> m_form3;
    std::unique_ptr<Form4> m_form4;
    std::unique_ptr<Form5> m_form5;
    std::unique_ptr<Form6> m_form6;
    std::unique_ptr<Form7> m_form7;
    std::unique_ptr<Form8> m_form8;
};
