#pragma once

class Form1;

// Wires the main window's title strip, its window buttons, "New Path" and
// "options".
void connectWindowControls(Form1 &form);

// "options": the options menu pops up at the mouse.
void popUpOptionsMenu(Form1 &form);
