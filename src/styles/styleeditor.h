// Form6, the style editor: the user types a new style's name and values and
// saves it as a style file; the chooser then shows it.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class Announcer;
class ClickLabel;
class Form4;
class MessageBox;
class QLabel;
class QLineEdit;

// What the editor hands its work to.
struct StyleEditorLinks {
    QString home; // the program's directory
    MessageBox &messageBox;
    const Announcer &announcer; // the main window's
    QWidget *mainWindow;
    std::function<Form4 &()> chooser; // loads the chooser at its first use
    std::function<void()> unload;     // the editor goes once its handler returns
};

class Form6 : public QWidget
{
    Q_OBJECT

public:
    explicit Form6(StyleEditorLinks links, QWidget *parent = nullptr);

    QLabel *Label5 = nullptr; // credit strip
    QLabel *Label1 = nullptr; // "name:"
    QLineEdit *Text1 = nullptr; // the style's name
    QLabel *Label2 = nullptr; // "ascii:"
    QLineEdit *Text2 = nullptr; // decoration text
    QLabel *Label3 = nullptr; // "acolor:"
    QLineEdit *text3 = nullptr; // decoration colour
    QLabel *Label4 = nullptr; // "fcolor:"
    QLineEdit *Text4 = nullptr; // message colour
    ClickLabel *Label6 = nullptr; // "ok": save
    ClickLabel *Label7 = nullptr; // "back"

private:
    void save();
    void back();
    void emptyFields();
    // The first empty field's message box, in the order name, ascii, acolor,
    // fcolor; false when one was shown.
    bool fieldsFilled();

    StyleEditorLinks m_links;
};
