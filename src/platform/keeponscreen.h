// Where a window that places itself may go: all of it on its screen.
#pragma once

class QWidget;

// Moves a top-level window, never resizing it, the least it takes for all
// of it, with the frame the window system will add, to be in its screen's
// available area; a window that is inside already stays where it is. One
// larger than the area keeps its top-left corner, and so its title bar, on
// the screen.
void keepOnScreen(QWidget &window);
