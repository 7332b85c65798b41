// Window places and sizes are designed in twips (1/1440 inch); the screen's
// logical resolution turns them into pixels.
#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

constexpr int TwipsPerInch = 1440;

int twipsToPixelsX(int twips, const QWidget *widget = nullptr);
int twipsToPixelsY(int twips, const QWidget *widget = nullptr);
QRect twipsRect(int left, int top, int width, int height, const QWidget *widget = nullptr);
// Sets a control's place in its parent from a form's design, in twips.
void placeInTwips(QWidget *control, int left, int top, int width, int height);
// Where every window that places itself goes: 5000 twips from the top
// and the left of the screen, or nearer where the window would not fit
// there (keeponscreen.h).
void placeAtStartPosition(QWidget *window);
