// TEMPORARY: a plain window until its own work lands.
#include "windows/aboutwindow.h"

Form7::Form7(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
}
