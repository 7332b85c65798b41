// A track's name as the chat room is told it: what the player's
// announcements need of the room's text rules, kept where the player may
// reach it.
#pragma once

#include <QString>

// Every occurrence of search, compared without regard to case, replaced;
// a replacement is never searched again. An empty search changes nothing.
QString ReplaceText(const QString &text, const QString &search, const QString &replacement);
// Names and words that people typed are plain text in an HTML line.
QString PlainToHtml(const QString &text);
// A track's name as announcements show it: without ".mp3", as plain text.
QString TrackName(const QString &fileName);
// The same name before it is made HTML, for faces that show text.
QString TrackTitle(const QString &fileName);
