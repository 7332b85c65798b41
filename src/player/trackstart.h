// What everything that starts a track shares (the buttons, the end of a
// track, the chat commands, the song picker): where the track is, and how
// its start is told to the room.
#pragma once

#include <QString>

class Announcer;

// The full path of a track: the track list's directory and the file name.
QString trackPath(const QString &directory, const QString &fileName);
// "<b>playing</b>: " and the name when the player took the file; a file it
// cannot play is said so, rather than claimed to be playing.
void announceStart(const Announcer &announcer, const QString &fileName, bool started);
