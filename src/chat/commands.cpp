// TEMPORARY: wired with the dispatcher work.
#include "chat/commands.h"

void connectCommands(Form1 &) {}
