// The style chooser: lists the saved styles, shows the values of the
// one clicked, and makes it the main window's announcement style.
#pragma once

#include <QString>
#include <QWidget>

class ClickLabel;
class Desktop;
class FileListBox;
class QLineEdit;
class QListWidget;
struct StylePieces;

// What the chooser works on: the main window's style pieces, the chat room
// its confirmation goes to, and the window it hands back to.
struct StyleChooserLinks {
    QString home;       // the program's directory
    StylePieces &style; // the main window's pieces
    Desktop &desktop;
    QWidget *mainWindow;
};

class StyleChooser : public QWidget
{
    Q_OBJECT

public:
    explicit StyleChooser(StyleChooserLinks links, QWidget *parent = nullptr);

    // Runs once, at the first reference to the window.
    void load();
    // Empties the style list, re-reads the directory and builds it again.
    void rebuildStyleList();

    ClickLabel *creditLabel = nullptr; // credit strip; dragging it moves the window
    QListWidget *styleList = nullptr;  // the style list
    FileListBox *styleFiles = nullptr; // every file of the styles directory, never shown
    QLineEdit *asciiBox = nullptr;     // ascii of the clicked style
    QLineEdit *acolorBox = nullptr;    // acolor of the clicked style
    QLineEdit *fcolorBox = nullptr;    // fcolor of the clicked style
    ClickLabel *okLabel = nullptr;     // "ok"
    ClickLabel *resetLabel = nullptr;  // "reset"
    ClickLabel *backLabel = nullptr;   // "back"

private:
    void showSelectedValues();
    void select();
    void reset();
    void back();

    StyleChooserLinks m_links;
};
