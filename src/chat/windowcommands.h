// The chat commands that act on the program's windows and settings rather
// than on the player: about, the command list, the style windows, the path
// chooser, the main window's states, the handle, the chat client's Welcome
// window, and exit. None of them refuses; all but exit let the dispatcher
// go on.
#pragma once

#include "chat/commandaction.h"

Handling showAbout(Form1 &form, const QString &text);          // about
Handling advertise(Form1 &form, const QString &text);          // adv
Handling showCommandList(Form1 &form, const QString &text);    // coms
Handling closeCommandList(Form1 &form, const QString &text);   // xcoms
Handling createStyle(Form1 &form, const QString &text);        // create
Handling exitProgram(Form1 &form, const QString &text);        // exit
Handling chooseNewPath(Form1 &form, const QString &text);      // new path
Handling showStyles(Form1 &form, const QString &text);         // styles
Handling minimizeWindow(Form1 &form, const QString &text);     // min
Handling restoreWindow(Form1 &form, const QString &text);      // max
Handling rollUp(Form1 &form, const QString &text);             // roll up
Handling rollDown(Form1 &form, const QString &text);           // roll down
Handling tellHandle(Form1 &form, const QString &text);         // handle?
Handling setHandle(Form1 &form, const QString &text);          // handle *
Handling hideWelcomeWindow(Form1 &form, const QString &text);  // xwelc
Handling showWelcomeWindow(Form1 &form, const QString &text);  // shwelc
Handling hideToTray(Form1 &form, const QString &text);         // hide
Handling showFromTray(Form1 &form, const QString &text);       // show
