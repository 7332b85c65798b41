// A secondary window hides the main window while it is shown, and only its
// own way out (a "back" or " x" label) shows it again. A close from the
// window manager must take the same way, or the program is left without a
// window to act from.
#pragma once

class ClickLabel;
class QWidget;

// From now on a close of the window is a click on wayOut; with no way out
// (the path chooser leaves only by "Set") a close is refused.
void closeAsWayOut(QWidget *window, ClickLabel *wayOut);
