// What the program itself does, whichever road asks for it: a chat command,
// the options menu, the main window's own labels, the desktop's MPRIS calls
// or the end of the program's input. Each action takes its windows' steps
// and says its line in the room.
#pragma once

class Announcer;
class PlayerActions;
class ProgramWindows;
class QByteArray;
class QString;

class ProgramActions
{
public:
    ProgramActions(const Announcer &announcer, ProgramWindows &windows, PlayerActions &player);

    // Says goodbye in the room, then ends the program at once; reason: what
    // the network is told. Nothing runs after it unless a test has replaced
    // the end.
    void leave(int exitStatus, const QString &reason);
    // The user's own way out: "exit", the menu, the close label, MPRIS Quit.
    void exit();
    // The main window out of the notification area: "show", MPRIS Raise.
    void show();
    // The style editor in the main window's place: "create", the menu.
    void newStyle();
    // The style chooser in the main window's place: "styles", the menu.
    void chooseStyle();

    // The chat command and the main window ask for a new path in words of
    // their own.
    enum class PathAsker { ChatCommand, MainWindow };
    // The path chooser in the main window's place: "new path", the "New
    // Path" label, the menu.
    void newPath(PathAsker asker);
    // A file opened from the desktop (MPRIS OpenUri, the command line),
    // given as the file system spells its path: its folder becomes the MP3
    // directory as the path chooser's "Set" makes it, and the file is
    // selected and played as the play button plays it. "" once it plays;
    // else why not, for the asker (nothing is done when it is no MP3 file).
    QString openFile(const QByteArray &path);

private:
    const Announcer &m_announcer;
    ProgramWindows &m_windows;
    PlayerActions &m_player;
};
