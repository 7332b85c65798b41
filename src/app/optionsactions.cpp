#include "app/optionsactions.h"

#include "app/interfacestate.h"
#include "app/mainwindow.h"
#include "app/secondarywindows.h"
#include "chat/programactions.h"
#include "player/playeractions.h"

OptionsActions optionsActionsFor(MainWindow &form)
{
    MainWindow *f = &form;
    return OptionsActions{
        .min = [f] { minimizeInterface(*f); },
        .max = [f] { restoreInterface(*f); },
        .minTray = [f] { sendToTray(*f); },
        .newPath = [f] { f->commandContext().program.newPath(ProgramActions::PathAsker::MainWindow); },
        .refresh = [f] { f->program().playerActions->refresh(); },
        // The menu only refuses while the other mode is on; there is no line
        // whose handling could end.
        .autoRand = [f] { f->program().playerActions->randomModeOn(); },
        .cont = [f] { f->program().playerActions->continuousModeOn(); },
        .choose = [f] { f->commandContext().program.chooseStyle(); },
        .create = [f] { f->commandContext().program.newStyle(); },
        .coms = [f] { showCommandList(*f); },
        .about = [f] { showAbout(*f); },
        .exit = [f] { f->commandContext().program.exit(); },
    };
}
