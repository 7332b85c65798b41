// Borderless windows are moved by a title strip of their own: a mouse
// button going down on it, any button, hands the move to the window system
// until the button is released.
#pragma once

class ClickLabel;
class QWidget;

void dragWindowBy(ClickLabel *strip, QWidget *window);
