// How a chat room shows the HTML its participants write: bold, italic,
// underline, <font color face size>, <br> and entities, nothing else.
// Lines are written into a document as text with character formats, never
// parsed as HTML by the document, so no line can load a file, an image or a
// style sheet, and the work grows with the line's length alone.
#pragma once

#include <QStringView>

class QTextCharFormat;
class QTextCursor;

// How much of a line is shown; the rest is cut, and a mark says so.
constexpr qsizetype ChatLineShown = 4096;
constexpr QStringView ChatLineCutMark = u" \u2026";

// Writes a participant's line at the cursor as the room shows it, the
// line's own formats laid over the given one.
void InsertChatMarkup(QTextCursor &cursor, QStringView html, const QTextCharFormat &base);
// Writes text that is never read as markup (a screen name), in one format.
void InsertChatText(QTextCursor &cursor, QStringView text, const QTextCharFormat &format);
