#include "windows/optionsactions.h"

#include "app/interfacestate.h"
#include "app/mainwindow.h"
#include "app/secondarywindows.h"
#include "app/tray.h"
#include "chat/windowcommands.h"
#include "player/playeractions.h"
#include "windows/pathchooser.h"

OptionsActions optionsActionsFor(Form1 &form)
{
    Form1 *f = &form;
    return OptionsActions{
        .min = [f] { minimizeInterface(*f); },
        .max = [f] { restoreInterface(*f); },
        .minTray =
            [f] {
                AddToTray(f->windowIcon(), QString::fromUtf8(TrayTip), f);
                f->announcer.announce("<b>iface</b> sent to tray ");
            },
        .newPath =
            [f] {
                f->form2().show();
                f->hide();
                f->announcer.announce("searching for path ");
            },
        .refresh = [f] { f->playerActions->refresh(); },
        // The menu only refuses while the other mode is on; there is no line
        // whose handling could end.
        .autoRand = [f] { f->playerActions->randomModeOn(); },
        .cont = [f] { f->playerActions->continuousModeOn(); },
        .choose = [f] { showStyles(f->commandContext(), QString()); },
        .create = [f] { createStyle(f->commandContext(), QString()); },
        .coms = [f] { showCommandList(*f); },
        .about = [f] { showAbout(*f); },
        .exit = [f] { exitProgram(f->commandContext(), QString()); },
    };
}
