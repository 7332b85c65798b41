// Where the program keeps prefs.ini, styles/ and irc.ini.
#pragma once

#include <QString>
#include <optional>

// The directory given on the command line; else the executable's own
// directory when it already holds a prefs.ini (a copy carried on a stick,
// or a build run in place, keeps its settings); else the user's settings
// directory, $XDG_CONFIG_HOME/dun2 or ~/.config/dun2. The last need not
// exist yet: it is made when something is first stored.
QString ProgramHome(const std::optional<QString> &given, const QString &executableDirectory);
