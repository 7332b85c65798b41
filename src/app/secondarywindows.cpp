#include "app/secondarywindows.h"

#include "app/mainwindow.h"
#include "windows/aboutwindow.h"
#include "windows/commandlist.h"

void showAbout(Form1 &form)
{
    form.hide();
    form.form7().show();
    form.announcer.announce(QString::fromUtf8("<b>about</b> Ðûñ²"));
}

void showCommandList(Form1 &form)
{
    form.announcer.announce("<b>v</b>i<b>ewing</b> coms");
    form.hide();
    form.form8().show();
}

void closeCommandList(Form1 &form)
{
    form.form8().hide();
    form.show();
    form.announcer.announce("<b>c</b>l<b>osed</b> coms");
}

void advertise(Form1 &form)
{
    Advertise(form.announcer);
}
