#include "chat/windowcommands.h"

#include "chat/announcement.h"
#include "chat/clientwindows.h"

Handling exitProgram(const CommandContext &context, const QString &)
{
    context.program.exit();
    return Handling::Ends;
}

Handling chooseNewPath(const CommandContext &context, const QString &)
{
    context.program.newPath(ProgramActions::PathAsker::ChatCommand);
    return Handling::GoesOn;
}

Handling tellHandle(const CommandContext &context, const QString &)
{
    context.announcer.announce("<b>handle: </b>" + context.handle);
    return Handling::GoesOn;
}

// The new handle is the argument, its leading blank and letter case kept.
Handling setHandle(const CommandContext &context, const QString &handle)
{
    context.handle = handle;
    context.windows.storeHandle(handle);
    context.announcer.announce("<b>new handle: </b>" + handle);
    return Handling::GoesOn;
}

Handling hideWelcomeWindow(const CommandContext &context, const QString &)
{
    HideWelcome(context.desktop);
    context.announcer.announce("<b>welcome </b>screen hidden");
    return Handling::GoesOn;
}

Handling showWelcomeWindow(const CommandContext &context, const QString &)
{
    ShowWelcome(context.desktop);
    context.announcer.announce("<b>welcome </b>screen visible");
    return Handling::GoesOn;
}
