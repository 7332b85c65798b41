// Work that may take long, reading a folder of a million names or one on a
// mount that does not answer, done on a thread of its own so that the
// window thread goes on: windows, the chat network and the desktop's bus
// are served in a nested wait meanwhile. Lines wait at the line gate until
// the work is done and are then handled in order, after whatever waited
// for it, as they were when the work blocked the thread. Work done within
// a few milliseconds is simply waited for, with no nested loop to run
// anything else in the middle of the caller.
//
// The work must touch nothing but what it is given: it may outlive the
// wait, when the program ends meanwhile, and its thread then with it.
#pragma once

#include <functional>

// Whether the work is done; it is not when the program is ending.
bool awaitOffThread(std::function<void()> work);
