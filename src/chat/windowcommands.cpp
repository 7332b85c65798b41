#include "chat/windowcommands.h"

#include "app/inifile.h"
#include "app/interfacestate.h"
#include "app/secondarywindows.h"
#include "app/mainwindow.h"
#include "chat/clientwindows.h"
#include "platform/programend.h"
#include "styles/stylechooser.h"
#include "styles/styleeditor.h"
#include "windows/pathchooser.h"

Handling showAbout(Form1 &form, const QString &)
{
    ::showAbout(form);
    return Handling::GoesOn;
}

Handling advertise(Form1 &form, const QString &)
{
    ::advertise(form);
    return Handling::GoesOn;
}

Handling showCommandList(Form1 &form, const QString &)
{
    ::showCommandList(form);
    return Handling::GoesOn;
}

Handling closeCommandList(Form1 &form, const QString &)
{
    ::closeCommandList(form);
    return Handling::GoesOn;
}

Handling createStyle(Form1 &form, const QString &)
{
    form.hide();
    form.form6().show();
    form.announcer.announce("<b>creating</b> style ");
    return Handling::GoesOn;
}

Handling exitProgram(Form1 &form, const QString &)
{
    form.announcer.announce(QString::fromUtf8("Ðûñ² unløªded "));
    EndProgramNow();
    return Handling::Ends;
}

Handling chooseNewPath(Form1 &form, const QString &)
{
    form.form2().show();
    form.hide();
    form.announcer.announce("<b>searching</b> for new directory");
    return Handling::GoesOn;
}

Handling showStyles(Form1 &form, const QString &)
{
    form.hide();
    form.form4().show();
    form.announcer.announce("<b>viewing</b> styles ");
    return Handling::GoesOn;
}

Handling minimizeWindow(Form1 &form, const QString &)
{
    minimizeInterface(form);
    return Handling::GoesOn;
}

Handling restoreWindow(Form1 &form, const QString &)
{
    restoreInterface(form);
    return Handling::GoesOn;
}

Handling rollUp(Form1 &form, const QString &)
{
    ::rollUp(form);
    return Handling::GoesOn;
}

Handling rollDown(Form1 &form, const QString &)
{
    ::rollDown(form);
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

Handling hideToTray(Form1 &form, const QString &)
{
    hideInterface(form);
    return Handling::GoesOn;
}

Handling showFromTray(Form1 &form, const QString &)
{
    showInterface(form);
    return Handling::GoesOn;
}
