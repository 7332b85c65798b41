// What everything that starts a track shares (the buttons, the end of a
// track, the chat commands, the song picker): how its start is told to the
// room. Where the track is, the track list says (FileListBox::filePath).
#pragma once

#include <QString>

class Announcer;

// "<b>playing</b>: " and the name when the player took the file; a file it
// cannot play is said so, rather than claimed to be playing.
void announceStart(const Announcer &announcer, const QString &fileName, bool started);
