// Form7, the about window: a picture and a few words on the program.
#pragma once

#include <QWidget>

class ClickLabel;
class QLabel;

class Form7 : public QWidget
{
    Q_OBJECT

public:
    // " x" shows the main window again.
    explicit Form7(QWidget &mainWindow, QWidget *parent = nullptr);

    QLabel *Image2 = nullptr;         // the picture, 115 by 48 pixels
    QLabel *lblDescription = nullptr; // what the program is for, and who made it
    QLabel *Label4 = nullptr;         // title and credit; no action
    ClickLabel *Label2 = nullptr;     // " x": closes the window
};
