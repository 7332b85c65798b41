#pragma once

class Form1;

// Wires the main window's title strip and its window buttons.
void connectWindowControls(Form1 &form);
