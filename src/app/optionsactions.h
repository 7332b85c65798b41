#pragma once

#include "windows/optionsmenu.h"

class MainWindow;

// The options menu's leaves: the same steps as the chat commands and the
// main window's labels for the same jobs, with the menu's own replies.
OptionsActions optionsActionsFor(MainWindow &form);
