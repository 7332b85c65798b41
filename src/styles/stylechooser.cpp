// TEMPORARY: a plain window until its own work lands.
#include "styles/stylechooser.h"

Form4::Form4(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
}
