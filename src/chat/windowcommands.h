// The chat commands that act on the program's windows and settings rather
// than on the player: about, the command list, the style windows, the path
// chooser, the main window's states, the handle, the chat client's Welcome
// window, and exit. None of them refuses; all but exit let the dispatcher
// go on.
#pragma once

#include "chat/commandaction.h"
#include "chat/commandcontext.h"
#include "chat/programactions.h"
#include "chat/programwindows.h"

// The commands that are one step of the program's windows, announced by the
// windows as their other roads announce it: about, adv, coms, xcoms, min,
// max, roll up, roll down, hide.
template <void (ProgramWindows::*step)()>
Handling windowStep(const CommandContext &context, const QString &)
{
    (context.windows.*step)();
    return Handling::GoesOn;
}

// The commands that are one of the program's own actions, which its other
// roads take too: create, styles, show.
template <void (ProgramActions::*action)()>
Handling programAction(const CommandContext &context, const QString &)
{
    (context.program.*action)();
    return Handling::GoesOn;
}

Handling exitProgram(const CommandContext &context, const QString &argument);       // exit
Handling chooseNewPath(const CommandContext &context, const QString &argument);     // new path
Handling tellHandle(const CommandContext &context, const QString &argument);        // handle?
Handling setHandle(const CommandContext &context, const QString &argument);         // handle *
Handling hideWelcomeWindow(const CommandContext &context, const QString &argument); // xwelc
Handling showWelcomeWindow(const CommandContext &context, const QString &argument); // shwelc
