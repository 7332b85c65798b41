#include "app/secondarywindows.h"

#include "app/mainwindow.h"
#include "app/programcore.h"
#include "platform/terminalface.h"
#include "windows/aboutwindow.h"
#include "windows/commandlist.h"

// Without a screen, the words of the window are printed where the user
// reads, instead of a window nobody sees.
void showAbout(MainWindow &form)
{
    if (TerminalFace *terminal = form.program().environment().terminal) {
        terminal->printText(AboutWindow::textLines());
    } else {
        form.hide();
        form.aboutWindow().show();
    }
    form.program().announcer.announce(QString::fromUtf8("<b>about</b> Ðûñ²"));
}

void showCommandList(MainWindow &form)
{
    form.program().announcer.announce("<b>v</b>i<b>ewing</b> coms");
    if (TerminalFace *terminal = form.program().environment().terminal) {
        terminal->printText(CommandList::commandLines());
        return;
    }
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
