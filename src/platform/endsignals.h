// SIGTERM, SIGINT and SIGHUP end the program the way every other way out
// does, from the event loop: the handler only writes the signal's number
// into a pipe the window thread watches. A second one while the farewell
// is under way ends the process at once.
#pragma once

#include <QString>
#include <functional>

// wayOut: ends the program with that status, telling the network why.
void EndProgramOnSignals(std::function<void(int exitStatus, const QString &reason)> wayOut);
