// What a chat command may reach: the player's actions (and through them
// the player's state), the announcer, the two settings the commands read
// and write, the second scan, the chat client's windows, the program's
// windows and the program's own actions.
#pragma once

#include <QString>

class Announcer;
class ChatScan;
class Desktop;
class PlayerActions;
class ProgramActions;
class ProgramWindows;

struct CommandContext {
    PlayerActions &player;
    const Announcer &announcer;
    const QString &trigger; // prefix of chat commands, read afresh for every test
    QString &handle;
    ChatScan &searchScan;          // the song search's second scan
    Desktop &desktop;
    ProgramWindows &windows;
    ProgramActions &program;
};
