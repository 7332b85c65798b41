// How a chat room shows the HTML its participants write: bold, italic,
// underline, <font color face size>, <br> and entities, nothing else.
// Lines are written into a document as text with character formats, never
// parsed as HTML by the document, so no line can load a file, an image or a
// style sheet, and the work grows with the line's length alone.
#pragma once

#include <QColor>
#include <QStringList>
#include <QStringView>
#include <functional>

class QTextCharFormat;
class QTextCursor;

// How much of a line is shown; the rest is cut, and a mark says so.
constexpr qsizetype ChatLineShown = 4096;
constexpr QStringView ChatLineCutMark = u" \u2026";

// What the tags before a stretch of a line's text say about it.
struct ChatMarkupStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor colour;     // invalid: the room's own
    QStringList faces; // empty: the room's own
    int size = 0;      // 1 to 7, 0 for the transcript's own
};

// Reads at most `longest` characters of a line as the room reads it, and
// hands over each stretch of text with its style: <br> as a LineSeparator,
// characters a line cannot hold as blanks, tags it does not know left out.
// Says whether the line was cut.
bool ReadChatMarkup(QStringView html, qsizetype longest,
                    const std::function<void(QStringView text, const ChatMarkupStyle &style)> &run);

// Writes a participant's line at the cursor as the room shows it, the
// line's own formats laid over the given one.
void InsertChatMarkup(QTextCursor &cursor, QStringView html, const QTextCharFormat &base);
// Writes text that is never read as markup (a screen name), in one format.
void InsertChatText(QTextCursor &cursor, QStringView text, const QTextCharFormat &format);
