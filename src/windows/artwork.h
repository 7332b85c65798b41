// The program's own pictures, kept as resources: the main window's icon
// (32 by 32, what the notification area shows) and the about window's
// picture (115 by 48). src/resources/makeart.cpp draws them.
#pragma once

#include <QIcon>
#include <QPixmap>

QIcon programIcon();
QPixmap aboutPicture();
