#include "app/commandwindows.h"

#include "app/interfacestate.h"
#include "app/mainwindow.h"
#include "app/programcore.h"
#include "app/secondarywindows.h"
#include "platform/stringlistview.h"
#include "platform/terminalface.h"
#include "styles/stylechooser.h"
#include "styles/styleeditor.h"
#include "windows/commandlist.h"
#include "windows/pathchooser.h"
#include "windows/songpicker.h"

MainWindow &CommandWindows::form()
{
    return m_core.mainWindow();
}

// The main window's own procedures carry the same names as the steps, so
// they are called by their full names.
void CommandWindows::showAbout()
{
    ::showAbout(form());
}

void CommandWindows::advertise()
{
    // Only words: no window is needed for them.
    Advertise(m_core.announcer);
}

void CommandWindows::showCommandList()
{
    ::showCommandList(form());
}

void CommandWindows::closeCommandList()
{
    ::closeCommandList(form());
}

void CommandWindows::minimize()
{
    minimizeInterface(form());
}

void CommandWindows::restore()
{
    restoreInterface(form());
}

void CommandWindows::rollUp()
{
    ::rollUp(form());
}

void CommandWindows::rollDown()
{
    ::rollDown(form());
}

void CommandWindows::hideToTray()
{
    hideInterface(form());
}

void CommandWindows::showFromTray()
{
    showInterface(form());
}

bool CommandWindows::needsDisplay(const QString &window)
{
    // These windows are used by pointing; without a screen nobody could.
    TerminalFace *terminal = m_core.environment().terminal;
    if (terminal)
        terminal->needsDisplay(window);
    return terminal;
}

void CommandWindows::showStyleEditor()
{
    if (needsDisplay("style editor"))
        return;
    form().hide();
    form().styleEditor().show();
}

void CommandWindows::showPathChooser()
{
    if (needsDisplay("path chooser"))
        return;
    form().pathChooser().show();
    form().hide();
}

void CommandWindows::showStyleChooser()
{
    if (needsDisplay("style chooser"))
        return;
    form().hide();
    form().styleChooser().show();
}

void CommandWindows::showSongPicker()
{
    if (needsDisplay("song picker"))
        return;
    form().hide();
    form().songPicker().show();
}

void CommandWindows::reshowMainWindow()
{
    form().hide();
    form().show();
}

StringListView &CommandWindows::pickerList()
{
    return *form().songPicker().matchList;
}

void CommandWindows::clearPickerList()
{
    if (m_core.hasMainWindow())
        form().clearPickerList();
}

void CommandWindows::useMusicFolder(const QString &folder)
{
    m_core.useMusicFolder(folder);
}

void CommandWindows::storeHandle(const QString &handle)
{
    // The path chooser reads the handle where the program keeps it.
    m_core.storePreference("info", "handle", handle);
}
