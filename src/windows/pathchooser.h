// The path chooser: the window in which the user picks the directory
// that holds the MP3 files. "Set" makes it the main window's directory,
// lists it, stores it and says so (the program's one road for that). In the terminal face it is a question
// that waits for a line while the window is shown.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>

class ClickLabel;
class DirectoryListBox;
class QLabel;
class TerminalFace;

// What the chooser works with: the terminal face when there is one, the
// main window that gives way to it, with what "Set" does there (lists the
// folder, shows it, stores it and says so).
struct PathChooserLinks {
    TerminalFace *terminal;
    QWidget &mainWindow;
    std::function<void(const QString &path)> usePath;
};

class PathChooser : public QWidget
{
    Q_OBJECT

public:
    explicit PathChooser(PathChooserLinks links);
    ~PathChooser() override;

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
    int m_dialog = 0; // the terminal face's question, while shown there
};
