#pragma once

class MainWindow;

// Wires the main window's title strip, its window buttons, "New Path" and
// "options".
void connectWindowControls(MainWindow &form);

// "options": the options menu pops up at the mouse.
void popUpOptionsMenu(MainWindow &form);
