// The chat commands and menu entries that swap the main window with the
// about window and the command list. Leaving those windows by their own
// labels shows the main window again; that is the windows' own work.
#pragma once

class Form1;

// "about": main window hidden, the about window shown, then announced.
void showAbout(Form1 &form);
// "coms": announced first, then the windows swap.
void showCommandList(Form1 &form);
// "xcoms": the windows swap back, then it is announced.
void closeCommandList(Form1 &form);
// "adv": the advertisement, in the main window's style.
void advertise(Form1 &form);
