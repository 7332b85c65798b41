// The command scan's line handler: a line is a command only when the
// signed-on user said it, and then it is tested against every command word
// in a fixed order, each match running its action with the argument that
// its table row takes from behind the word.
#pragma once

#include <QString>

struct CommandContext;

void handleCommandLine(const CommandContext &context, const QString &ScreenName, const QString &Text);
// A DJ's line: tested as the user's is, against the player's commands and
// the search only; the program's windows and settings stay the user's.
void handleDeputyLine(const CommandContext &context, const QString &Text);
