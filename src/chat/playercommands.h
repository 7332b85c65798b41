// The chat commands that drive the player: the play modes, the track list,
// pause and stop, volume, count, mute, a random, the next and the previous
// track, and the balance. Pause, stop, refresh, mute, next and previous take
// the same steps, with the same replies, as the main window's buttons.
#pragma once

#include "chat/commandaction.h"

Handling randomModeOn(const CommandContext &context, const QString &argument);      // arand
Handling randomModeOff(const CommandContext &context, const QString &argument);     // xrand
Handling continuousModeOn(const CommandContext &context, const QString &argument);  // cont
Handling continuousModeOff(const CommandContext &context, const QString &argument); // xcont
Handling refreshTrackList(const CommandContext &context, const QString &argument);  // refresh
Handling pausePlaying(const CommandContext &context, const QString &argument);      // pause
Handling stopPlaying(const CommandContext &context, const QString &argument);       // stop
Handling setVolume(const CommandContext &context, const QString &argument);         // vol *
Handling countTracks(const CommandContext &context, const QString &argument);       // mp3s?
Handling muteOrUnmute(const CommandContext &context, const QString &argument);      // mute
Handling playRandomTrack(const CommandContext &context, const QString &argument);   // r
Handling playNextTrack(const CommandContext &context, const QString &argument);     // next
Handling playPreviousTrack(const CommandContext &context, const QString &argument); // prev
Handling balanceRight(const CommandContext &context, const QString &argument);      // br
Handling balanceLeft(const CommandContext &context, const QString &argument);       // bl
Handling balanceCenter(const CommandContext &context, const QString &argument);     // bc

