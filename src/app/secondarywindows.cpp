#include "app/secondarywindows.h"

#include "app/mainwindow.h"
#include "windows/aboutwindow.h"
#include "windows/commandlist.h"

void showAbout(MainWindow &form)
{
    form.hide();
    form.aboutWindow().show();
    form.program().announcer.announce(QString::fromUtf8("<b>about</b> Ðûñ²"));
}

void showCommandList(MainWindow &form)
{
    form.program().announcer.announce("<b>v</b>i<b>ewing</b> coms");
    form.hide();
    form.commandList().show();
}

void closeCommandList(MainWindow &form)
{
    form.commandList().hide();
    form.show();
    form.program().announcer.announce("<b>c</b>l<b>osed</b> coms");
}

void advertise(MainWindow &form)
{
    Advertise(form.program().announcer);
}
