// The command scan's line handler: a line is a command only when the
// signed-on user said it, and then it is tested against every command word
// in a fixed order, each match running its action.
#pragma once

#include <QString>

class Form1;

void handleCommandLine(Form1 &form, const QString &ScreenName, const QString &Text);
