#pragma once

class Form1;

// Makes the main window answer the command scan's lines.
void connectCommands(Form1 &form);
