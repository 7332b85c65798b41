#pragma once

#include "chat/commandcontext.h"

class QObject;

// Makes the command scan and the context's second scan answer their lines
// for as long as the owner lives; everything the context names must too.
void connectCommands(ChatScan &commandScan, const CommandContext &context, QObject &owner);
