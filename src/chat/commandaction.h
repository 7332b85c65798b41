// What every chat command's action looks like to the dispatcher that runs
// it: what the command may reach and its argument, cut by the dispatcher
// from the line as typed (empty where the command takes none), and whether
// the dispatcher goes on testing the later command words afterwards.
#pragma once

#include <QString>

struct CommandContext;

enum class Handling {
    GoesOn, // the later command words are still tested
    Ends,   // the line has been dealt with: nothing more is tested
};

using CommandAction = Handling (*)(const CommandContext &context, const QString &argument);
