// Form3, the song picker: shows the matches of a song search and plays one.
#pragma once

#include "chat/announcement.h"

#include <QWidget>

class ClickLabel;
class QLabel;
class QListWidget;

class Form3 : public QWidget
{
    Q_OBJECT

public:
    explicit Form3(QWidget *parent = nullptr);

    // This window's own copies of the style pieces; its face piece, called
    // `font` on this window, is style.font1.
    StylePieces style = StylePieces::initial();
    QString Handle;
    QString mpath;
    QString Trigger = ".";

    QListWidget *List1 = nullptr; // the picker list
    ClickLabel *play = nullptr;   // "play"
    ClickLabel *pause = nullptr;  // "random"
    ClickLabel *stop = nullptr;   // "back"
    QLabel *Label4 = nullptr;     // credit strip
};
