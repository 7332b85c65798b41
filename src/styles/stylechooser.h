// Form4, the style chooser: lists the saved styles, shows the values of the
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

class Form4 : public QWidget
{
    Q_OBJECT

public:
    explicit Form4(StyleChooserLinks links, QWidget *parent = nullptr);

    // Runs once, at the first reference to the window.
    void load();
    // Empties the style list, re-reads the directory and builds it again.
    void rebuildStyleList();

    ClickLabel *Label4 = nullptr; // credit strip; dragging it moves the window
    QListWidget *List1 = nullptr; // the style list
    FileListBox *File1 = nullptr; // every file of the styles directory, never shown
    QLineEdit *Text1 = nullptr;   // ascii of the clicked style
    QLineEdit *Text2 = nullptr;   // acolor of the clicked style
    QLineEdit *text3 = nullptr;   // fcolor of the clicked style
    ClickLabel *Label1 = nullptr; // "ok"
    ClickLabel *Label2 = nullptr; // "reset"
    ClickLabel *Label3 = nullptr; // "back"

private:
    void showSelectedValues();
    void select();
    void reset();
    void back();

    StyleChooserLinks m_links;
};
