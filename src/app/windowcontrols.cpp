#include "app/windowcontrols.h"

#include "app/interfacestate.h"
#include "app/mainwindow.h"
#include "chat/programactions.h"
#include "platform/clicklabel.h"
#include "platform/windowdrag.h"
#include "windows/optionsmenu.h"

#include <QCursor>

void connectWindowControls(Form1 &form)
{
    dragWindowBy(form.Label4, &form);
    QObject::connect(form.Label7, &ClickLabel::clicked, &form, [&form] { rollUp(form); });
    QObject::connect(form.Label3, &ClickLabel::clicked, &form, [&form] { rollDown(form); });
    QObject::connect(form.Label6, &ClickLabel::clicked, &form, [&form] { minimizeInterface(form); });
    QObject::connect(form.Label5, &ClickLabel::clicked, &form,
                     [&form] { form.commandContext().program.newPath(ProgramActions::PathAsker::MainWindow); });
    QObject::connect(form.Label8, &ClickLabel::clicked, &form, [&form] { popUpOptionsMenu(form); });
    QObject::connect(form.Label2, &ClickLabel::clicked, &form, [&form] { form.commandContext().program.exit(); });
}

void popUpOptionsMenu(Form1 &form)
{
    form.form5().popUp(QCursor::pos());
}
