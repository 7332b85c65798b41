#include "app/windowcontrols.h"

#include "app/interfacestate.h"
#include "app/mainwindow.h"
#include "chat/programactions.h"
#include "platform/clicklabel.h"
#include "platform/windowdrag.h"
#include "windows/optionsmenu.h"

#include <QCursor>

void connectWindowControls(MainWindow &form)
{
    dragWindowBy(form.titleLabel, &form);
    QObject::connect(form.rollUpLabel, &ClickLabel::clicked, &form, [&form] { rollUp(form); });
    QObject::connect(form.rollDownLabel, &ClickLabel::clicked, &form, [&form] { rollDown(form); });
    QObject::connect(form.minimiseLabel, &ClickLabel::clicked, &form, [&form] { minimizeInterface(form); });
    QObject::connect(form.newPathLabel, &ClickLabel::clicked, &form,
                     [&form] { form.commandContext().program.newPath(ProgramActions::PathAsker::MainWindow); });
    QObject::connect(form.optionsLabel, &ClickLabel::clicked, &form, [&form] { popUpOptionsMenu(form); });
    QObject::connect(form.closeLabel, &ClickLabel::clicked, &form, [&form] { form.commandContext().program.exit(); });
}

void popUpOptionsMenu(MainWindow &form)
{
    form.optionsMenu().popUp(QCursor::pos());
}
