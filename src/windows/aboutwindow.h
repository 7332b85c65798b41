// The about window: a picture and a few words on the program.
#pragma once

#include <QWidget>

class ClickLabel;
class QLabel;

class AboutWindow : public QWidget
{
    Q_OBJECT

public:
    // " x" shows the main window again.
    explicit AboutWindow(QWidget &mainWindow, QWidget *parent = nullptr);

    // The window's words as lines of text: the credit, then the description.
    static QStringList textLines();

    QLabel *pictureLabel = nullptr;   // the picture, 115 by 48 pixels
    QLabel *description = nullptr;    // what the program is for, and who made it
    QLabel *creditLabel = nullptr;    // title and credit; no action
    ClickLabel *closeLabel = nullptr; // " x": closes the window
};
