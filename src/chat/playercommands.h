// The chat commands that drive the player: the play modes, the track list,
// pause and stop, volume, count, mute, a random, the next and the previous
// track, and the balance. Pause, stop, refresh, mute, next and previous take
// the same steps, with the same replies, as the main window's buttons.
#pragma once

#include "chat/commandaction.h"

Handling randomModeOn(const CommandContext &context, const QString &text);      // arand
Handling randomModeOff(const CommandContext &context, const QString &text);     // xrand
Handling continuousModeOn(const CommandContext &context, const QString &text);  // cont
Handling continuousModeOff(const CommandContext &context, const QString &text); // xcont
Handling refreshTrackList(const CommandContext &context, const QString &text);  // refresh
Handling pausePlaying(const CommandContext &context, const QString &text);      // pause
Handling stopPlaying(const CommandContext &context, const QString &text);       // stop
Handling setVolume(const CommandContext &context, const QString &text);         // vol *
Handling countTracks(const CommandContext &context, const QString &text);       // mp3s?
Handling muteOrUnmute(const CommandContext &context, const QString &text);      // mute
Handling playRandomTrack(const CommandContext &context, const QString &text);   // r
Handling playNextTrack(const CommandContext &context, const QString &text);     // next
Handling playPreviousTrack(const CommandContext &context, const QString &text); // prev
Handling balanceRight(const CommandContext &context, const QString &text);      // br
Handling balanceLeft(const CommandContext &context, const QString &text);       // bl
Handling balanceCenter(const CommandContext &context, const QString &text);     // bc

