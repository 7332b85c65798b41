// Ending the program "at once": what the chat client still has to send goes
// first (its farewell), then the process ends without running any further
// handler. Tests replace the last step so they can watch it happen.
#pragma once

#include <QString>
#include <functional>

// reason: why the program ends, as the network is told it.
void EndProgramNow(int exitStatus = 0, const QString &reason = {});
// The default ends the process; a replacement returns, and the caller then
// stops its handling itself.
void setProgramEndHook(std::function<void()> hook);
// Takes leave of whatever the program is connected to and calls `done` when
// it has (it may at once). Until then the window thread goes on in a wait
// that hands no line to any handler and takes no input from the user.
using ProgramFarewell = std::function<void(const QString &reason, std::function<void()> done)>;
void setProgramFarewell(ProgramFarewell farewell);
// A farewell is under way: the program is ending.
bool ProgramLeaving();
