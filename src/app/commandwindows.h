// The program's windows as the chat commands reach them: each step taken on
// the main window and the windows it makes.
#pragma once

#include "chat/programwindows.h"

class MainWindow;
class QString;
class ProgramCore;

class CommandWindows final : public ProgramWindows
{
public:
    explicit CommandWindows(ProgramCore &core) : m_core(core) {}

    void showAbout() override;
    void advertise() override;
    void showCommandList() override;
    void closeCommandList() override;
    void minimize() override;
    void restore() override;
    void rollUp() override;
    void rollDown() override;
    void hideToTray() override;
    void showFromTray() override;
    void showStyleEditor() override;
    void showPathChooser() override;
    void showStyleChooser() override;
    void showSongPicker() override;
    void reshowMainWindow() override;
    StringListView &pickerList() override;
    void clearPickerList() override;
    void storeHandle(const QString &handle) override;
    void useMusicFolder(const QString &folder) override;

private:
    // The main window, made at its first use.
    MainWindow &form();
    // On the terminal face: says that the window needs a display; true there.
    bool needsDisplay(const QString &window);

    ProgramCore &m_core;
};
