// The style editor: the user types a new style's name and values and
// saves it as a style file; the chooser then shows it.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class Announcer;
class ClickLabel;
class StyleChooser;
class MessageBox;
class QLabel;
class QLineEdit;

// What the editor hands its work to.
struct StyleEditorLinks {
    QString home; // the program's directory
    MessageBox &messageBox;
    const Announcer &announcer; // the main window's
    QWidget *mainWindow;
    std::function<StyleChooser &()> chooser; // loads the chooser at its first use
    std::function<void()> unload;            // the editor goes once its handler returns
};

class StyleEditor : public QWidget
{
    Q_OBJECT

public:
    explicit StyleEditor(StyleEditorLinks links, QWidget *parent = nullptr);

    QLabel *creditLabel = nullptr;   // credit strip
    QLabel *nameCaption = nullptr;   // "name:"
    QLineEdit *nameBox = nullptr;    // the style's name
    QLabel *asciiCaption = nullptr;  // "ascii:"
    QLineEdit *asciiBox = nullptr;   // decoration text
    QLabel *acolorCaption = nullptr; // "acolor:"
    QLineEdit *acolorBox = nullptr;  // decoration colour
    QLabel *fcolorCaption = nullptr; // "fcolor:"
    QLineEdit *fcolorBox = nullptr;  // message colour
    ClickLabel *okLabel = nullptr;   // "ok": save
    ClickLabel *backLabel = nullptr; // "back"

private:
    void save();
    void back();
    void emptyFields();
    // The first empty field's message box, in the order name, ascii, acolor,
    // fcolor; false when one was shown.
    bool fieldsFilled();

    StyleEditorLinks m_links;
};
