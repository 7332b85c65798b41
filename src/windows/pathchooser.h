// The path chooser: the window in which the user picks the directory
// that holds the MP3 files. "Set" makes it the main window's directory,
// lists it, stores it and says so. In the terminal face it is a question
// that waits for a line while the window is shown.
#pragma once

#include "chat/announcement.h"

#include <QWidget>
#include <functional>
#include <optional>

class ClickLabel;
class Desktop;
class DirectoryListBox;
class QLabel;
class TerminalFace;

// What the chooser works with: where it speaks, the terminal face when
// there is one, the main window that gives way to it, with what "Set"
// does there (lists the folder, shows it and stores it), and the user's
// handle as the program holds it.
struct PathChooserLinks {
    Desktop &desktop;
    TerminalFace *terminal;
    QWidget &mainWindow;
    std::function<void(const QString &path)> usePath;
    const QString &handle;
};

class PathChooser : public QWidget
{
    Q_OBJECT

public:
    explicit PathChooser(PathChooserLinks links);
    ~PathChooser() override;

    // This window's own style: its announcement is always in the initial
    // style, whatever style the main window has.
    StylePieces style = StylePieces::initial();

    QLabel *titleLabel = nullptr;           // title
    DirectoryListBox *folderTree = nullptr; // directory tree
    ClickLabel *setLabel = nullptr;         // "Set"

    // "Set": applies the current path of folderTree, then gives way to the main window.
    void setPath();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void answer(const std::optional<QString> &line);
    void endDialog();

    PathChooserLinks m_links;
    Announcer m_announcer;
    int m_dialog = 0; // the terminal face's question, while shown there
};
