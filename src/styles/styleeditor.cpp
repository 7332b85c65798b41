// TEMPORARY: a plain window until its own work lands.
#include "styles/styleeditor.h"

Form6::Form6(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
}
