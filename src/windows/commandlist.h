// The command list: the chat commands, one a line, and the label
// that posts the advertisement.
#pragma once

#include <QStringList>
#include <QWidget>

class Announcer;
class ClickLabel;
class QListWidget;

class CommandList : public QWidget
{
    Q_OBJECT

public:
    // The advertisement goes out in the main window's style; "back" shows
    // the main window again.
    CommandList(const Announcer &announcer, QWidget &mainWindow, QWidget *parent = nullptr);

    // What the list shows, in its order; display text only.
    static QStringList commandLines();

    ClickLabel *titleLabel = nullptr;     // title strip; dragging it moves the window
    QListWidget *lineList = nullptr;      // the command lines; selecting one does nothing
    ClickLabel *advertiseLabel = nullptr; // "adv"
    ClickLabel *backLabel = nullptr;      // "back"
};

// The two lines of the advertisement, 0.3 seconds apart; the chat command
// "adv" sends the same.
void Advertise(const Announcer &announcer);
