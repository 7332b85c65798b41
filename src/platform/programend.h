// Ending the program "at once": what the chat client still has to write is
// flushed, then the process ends without running any further handler. Tests
// replace the last step so they can watch it happen.
#pragma once

#include <functional>

void EndProgramNow(int exitStatus = 0);
// The default ends the process; a replacement returns, and the caller then
// stops its handling itself.
void setProgramEndHook(std::function<void()> hook);
