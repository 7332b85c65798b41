#include "app/windowcontrols.h"

#include "app/mainwindow.h"
#include "platform/clicklabel.h"
#include "platform/programend.h"

void connectWindowControls(Form1 &form)
{
    QObject::connect(form.Label2, &ClickLabel::clicked, &form, [&form] {
        form.announcer.announce(QString::fromUtf8("Ðûñ² unløªded "));
        EndProgramNow();
    });
}
