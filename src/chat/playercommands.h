// The chat commands that drive the player: the play modes, the track list,
// pause and stop, volume, count, mute, a random, the next and the previous
// track, and the balance. Pause, stop, refresh, mute, next and previous take
// the same steps, with the same replies, as the main window's buttons.
#pragma once

#include "chat/commandaction.h"

Handling randomModeOn(Form1 &form, const QString &text);      // arand
Handling randomModeOff(Form1 &form, const QString &text);     // xrand
Handling continuousModeOn(Form1 &form, const QString &text);  // cont
Handling continuousModeOff(Form1 &form, const QString &text); // xcont
Handling refreshTrackList(Form1 &form, const QString &text);  // refresh
Handling pausePlaying(Form1 &form, const QString &text);      // pause
Handling stopPlaying(Form1 &form, const QString &text);       // stop
Handling setVolume(Form1 &form, const QString &text);         // vol *
Handling countTracks(Form1 &form, const QString &text);       // mp3s?
Handling muteOrUnmute(Form1 &form, const QString &text);      // mute
Handling playRandomTrack(Form1 &form, const QString &text);   // r
Handling playNextTrack(Form1 &form, const QString &text);     // next
Handling playPreviousTrack(Form1 &form, const QString &text); // prev
Handling balanceRight(Form1 &form, const QString &text);      // br
Handling balanceLeft(Form1 &form, const QString &text);       // bl
Handling balanceCenter(Form1 &form, const QString &text);     // bc

