// TEMPORARY: a plain window until its own work lands.
#include "windows/commandlist.h"

Form8::Form8(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
}
