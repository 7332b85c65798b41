// The faces the windows were designed in, Tahoma and Arial, at 8 points.
// Where they are missing, Tahoma falls back to DejaVu Sans (always installed
// with the program) and Arial to a face of the same widths, or DejaVu Sans.
#pragma once

#include <QFont>

QFont tahomaFont(bool bold = false);
QFont arialFont(bool bold = false);
