#include "chat/windowcommands.h"

#include "app/inifile.h"
#include "app/mainwindow.h"
#include "chat/clientwindows.h"
#include "platform/programend.h"
#include "windows/pathchooser.h"

// TEMPORARY: the window commands' bodies come with the window work; until
// then they have their place in the dispatcher and do nothing.
Handling showAbout(Form1 &, const QString &)
{
    return Handling::GoesOn;
}

Handling advertise(Form1 &, const QString &)
{
    return Handling::GoesOn;
}

Handling showCommandList(Form1 &, const QString &)
{
    return Handling::GoesOn;
}

Handling closeCommandList(Form1 &, const QString &)
{
    return Handling::GoesOn;
}

Handling createStyle(Form1 &, const QString &)
{
    return Handling::GoesOn;
}

Handling exitProgram(Form1 &form, const QString &)
{
    form.announcer.announce(QString::fromUtf8("Ðûñ² unløªded "));
    EndProgramNow();
    return Handling::Ends;
}

Handling chooseNewPath(Form1 &, const QString &)
{
    return Handling::GoesOn;
}

Handling showStyles(Form1 &, const QString &)
{
    return Handling::GoesOn;
}

Handling minimizeWindow(Form1 &, const QString &)
{
    return Handling::GoesOn;
}

Handling restoreWindow(Form1 &, const QString &)
{
    return Handling::GoesOn;
}

Handling rollUp(Form1 &, const QString &)
{
    return Handling::GoesOn;
}

Handling rollDown(Form1 &, const QString &)
{
    return Handling::GoesOn;
}

Handling tellHandle(Form1 &form, const QString &)
{
    form.announcer.announce("<b>handle: </b>" + form.Handle);
    return Handling::GoesOn;
}

Handling setHandle(Form1 &form, const QString &text)
{
    // Everything behind "handle", its leading blank and letter case kept.
    const QString handle = text.mid(7);
    form.Handle = handle;
    form.form2().Handle = handle;
    WriteIni("info", "handle", form.Handle, form.preferencesPath());
    form.announcer.announce("<b>new handle: </b>" + handle);
    return Handling::GoesOn;
}

Handling hideWelcomeWindow(Form1 &form, const QString &)
{
    HideWelcome(form.environment().desktop);
    form.announcer.announce("<b>welcome </b>screen hidden");
    return Handling::GoesOn;
}

Handling showWelcomeWindow(Form1 &form, const QString &)
{
    ShowWelcome(form.environment().desktop);
    form.announcer.announce("<b>welcome </b>screen visible");
    return Handling::GoesOn;
}

Handling hideToTray(Form1 &, const QString &)
{
    return Handling::GoesOn;
}

Handling showFromTray(Form1 &, const QString &)
{
    return Handling::GoesOn;
}
