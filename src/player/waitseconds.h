// Waiting without stopping the program: window events, chat lines and the
// player's events keep being handled, so any handler can run to completion
// in the middle of another one's wait.
#pragma once

void WaitSeconds(double seconds);
