// Where a window goes so that windows already placed do not hide it.
#pragma once

class QRect;
class QWidget;

// Moves the window beside `taken` on its screen, on the first side with
// room for all of it (right, below, left, above), else on the side with
// the most room, made smaller to fit. A window placed before it is shown
// has no frame yet: room is kept for a title bar above it and above
// `taken`.
void placeClearOf(QWidget &window, const QRect &taken);
