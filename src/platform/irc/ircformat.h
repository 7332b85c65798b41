// IRC's in-line formatting (control codes for bold, italic, underline and
// colours) to and from the HTML subset a chat room line holds, and the
// cutting of a formatted text into lines a server accepts. Pure functions:
// what a participant writes is only ever text on the other side.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// A room line's markup as IRC formatting: colours become the nearest of the
// 16 standard ones, black the reader's own colour (it would vanish on a dark
// background), faces and sizes are dropped and <br> is a blank. The result
// holds no control character but formatting codes.
QString IrcFromChatMarkup(QStringView html);

// The text without any formatting code, as a reader sees it.
QString StripIrcFormatting(QStringView text);

// An IRC line as room markup: the text escaped, its bold, italic, underline
// and foreground colour as tags, every tag closed at the end.
QString ChatMarkupFromIrc(QStringView text);

// Pieces of at most maxBytes bytes of UTF-8 each, cut between characters
// and outside formatting codes, at a blank near the end when there is one;
// each piece starts with the codes that bring back the formatting in force
// where the one before stopped. A piece too small for one character still
// gets one, so the text always comes through. A text without characters
// (empty, or formatting codes alone) is one empty piece.
QStringList SplitIrcText(QStringView text, int maxBytes);
