// What every chat command's action looks like to the dispatcher that runs
// it: the main window it acts on and the line as typed, and whether the
// dispatcher goes on testing the later command words afterwards.
#pragma once

#include <QString>

class Form1;

enum class Handling {
    GoesOn, // the later command words are still tested
    Ends,   // the line has been dealt with: nothing more is tested
};

using CommandAction = Handling (*)(Form1 &form, const QString &text);
