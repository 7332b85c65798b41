// Form2, the path chooser: the window in which the user picks the directory
// that holds the MP3 files.
#pragma once

#include "chat/announcement.h"

#include <QWidget>

class ClickLabel;
class QLabel;
class QTreeView;

class Form2 : public QWidget
{
    Q_OBJECT

public:
    explicit Form2(QWidget *parent = nullptr);

    // This window's own copies, used for its announcement: always the
    // initial style, whatever style the main window has.
    StylePieces style = StylePieces::initial();
    QString Handle;
    QString mpath;
    QString Trigger = ".";

    QLabel *Label8 = nullptr;     // title
    QTreeView *Dir1 = nullptr;    // directory tree
    ClickLabel *Label1 = nullptr; // "Set"
};
