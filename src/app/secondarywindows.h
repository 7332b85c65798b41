// The chat commands and menu entries that swap the main window with the
// about window and the command list. Leaving those windows by their own
// labels shows the main window again; that is the windows' own work.
#pragma once

class MainWindow;

// "about": main window hidden, the about window shown, then announced.
void showAbout(MainWindow &form);
// "coms": announced first, then the windows swap.
void showCommandList(MainWindow &form);
// "xcoms": the windows swap back, then it is announced.
void closeCommandList(MainWindow &form);
// "adv": the advertisement, in the main window's style.
void advertise(MainWindow &form);
