#include "chat/windowcommands.h"

#include "chat/announcement.h"
#include "chat/clientwindows.h"
#include "platform/programend.h"

Handling createStyle(const CommandContext &context, const QString &)
{
    context.windows.showStyleEditor();
    context.announcer.announce("<b>creating</b> style ");
    return Handling::GoesOn;
}

Handling exitProgram(const CommandContext &context, const QString &)
{
    leaveProgram(context, 0, QStringLiteral("exit"));
    return Handling::Ends;
}

void leaveProgram(const CommandContext &context, int exitStatus, const QString &reason)
{
    context.announcer.announce(QString::fromUtf8("Ðûñ² unløªded "));
    EndProgramNow(exitStatus, reason);
}

Handling chooseNewPath(const CommandContext &context, const QString &)
{
    context.windows.showPathChooser();
    context.announcer.announce("<b>searching</b> for new directory");
    return Handling::GoesOn;
}

Handling showStyles(const CommandContext &context, const QString &)
{
    context.windows.showStyleChooser();
    context.announcer.announce("<b>viewing</b> styles ");
    return Handling::GoesOn;
}

Handling tellHandle(const CommandContext &context, const QString &)
{
    context.announcer.announce("<b>handle: </b>" + context.Handle);
    return Handling::GoesOn;
}

// The new handle is the argument, its leading blank and letter case kept.
Handling setHandle(const CommandContext &context, const QString &handle)
{
    context.Handle = handle;
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
