// What the chat commands may do to the program's windows, without knowing
// them: each operation is one step of a command, and the command says what
// it says around it. The main window's side provides it.
#pragma once

class QString;
class StringListView;

class ProgramWindows
{
public:
    virtual ~ProgramWindows() = default;

    // These four announce themselves: the options menu takes the same steps.
    virtual void showAbout() = 0;
    virtual void advertise() = 0;
    virtual void showCommandList() = 0;
    virtual void closeCommandList() = 0;
    // The main window's states, announced as its own buttons announce them.
    virtual void minimize() = 0;
    virtual void restore() = 0;
    virtual void rollUp() = 0;
    virtual void rollDown() = 0;
    virtual void hideToTray() = 0;
    virtual void showFromTray() = 0;

    // Silent swaps of the main window with another window.
    virtual void showStyleEditor() = 0;
    virtual void showPathChooser() = 0;
    virtual void showStyleChooser() = 0;
    virtual void showSongPicker() = 0;
    // Hidden and shown again: back in front.
    virtual void reshowMainWindow() = 0;

    // The song picker's list; the picker is made at its first use.
    virtual StringListView &pickerList() = 0;
    // Empties it; a picker not yet made has none.
    virtual void clearPickerList() = 0;
    // Keeps a new handle in the preferences.
    virtual void storeHandle(const QString &handle) = 0;
    // As the path chooser's "Set" on this folder, the chooser not shown:
    // listed, shown, stored and announced.
    virtual void useMusicFolder(const QString &folder) = 0;
};
