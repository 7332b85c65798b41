#include "app/commandwindows.h"

#include "app/interfacestate.h"
#include "app/mainwindow.h"
#include "app/secondarywindows.h"
#include "platform/stringlistview.h"
#include "styles/stylechooser.h"
#include "styles/styleeditor.h"
#include "windows/pathchooser.h"
#include "windows/songpicker.h"

// The main window's own procedures carry the same names as the steps, so
// they are called by their full names.
void CommandWindows::showAbout()
{
    ::showAbout(m_form);
}

void CommandWindows::advertise()
{
    ::advertise(m_form);
}

void CommandWindows::showCommandList()
{
    ::showCommandList(m_form);
}

void CommandWindows::closeCommandList()
{
    ::closeCommandList(m_form);
}

void CommandWindows::minimize()
{
    minimizeInterface(m_form);
}

void CommandWindows::restore()
{
    restoreInterface(m_form);
}

void CommandWindows::rollUp()
{
    ::rollUp(m_form);
}

void CommandWindows::rollDown()
{
    ::rollDown(m_form);
}

void CommandWindows::hideToTray()
{
    hideInterface(m_form);
}

void CommandWindows::showFromTray()
{
    showInterface(m_form);
}

void CommandWindows::showStyleEditor()
{
    m_form.hide();
    m_form.form6().show();
}

void CommandWindows::showPathChooser()
{
    m_form.form2().show();
    m_form.hide();
}

void CommandWindows::showStyleChooser()
{
    m_form.hide();
    m_form.form4().show();
}

void CommandWindows::showSongPicker()
{
    m_form.hide();
    m_form.form3().show();
}

void CommandWindows::reshowMainWindow()
{
    m_form.hide();
    m_form.show();
}

StringListView &CommandWindows::pickerList()
{
    return *m_form.form3().List1;
}

void CommandWindows::clearPickerList()
{
    m_form.clearPickerList();
}

void CommandWindows::storeHandle(const QString &handle)
{
    m_form.form2().Handle = handle;
    m_form.storePreference("info", "handle", handle);
}
