// A participant's line as the room reads and shows it: never more text than
// the line's limit, never a character that would end the line or that the
// document keeps for itself, and never more formats than a few fonts make.
#include "fuzzcheck.h"

#include "platform/chatmarkup.h"

#include <QTextCursor>
#include <QTextDocument>

namespace {

bool heldByALine(QChar c)
{
    return c.category() != QChar::Other_Control && c != QChar::ParagraphSeparator
           && c != QChar::ObjectReplacementCharacter && !c.isNonCharacter();
}

void checkRead(QByteArrayView data, const QString &html, qsizetype longest)
{
    QString read;
    const bool cut = ReadChatMarkup(html, longest, [&](QStringView text, const ChatMarkupStyle &style) {
        FUZZ_CHECK(!text.isEmpty(), "a stretch has text", html);
        FUZZ_CHECK(style.size >= 0 && style.size <= 7, "a size is 1 to 7", QString::number(style.size));
        FUZZ_CHECK(style.faces.size() <= 4, "a few faces at most", style.faces.join(u','));
        for (const QString &face : style.faces)
            FUZZ_CHECK(!face.isEmpty() && face.size() <= 64, "a face is a short name", face);
        FUZZ_CHECK(!style.colour.isValid() || style.colour.alpha() == 255, "text is never transparent",
                   style.colour.name(QColor::HexArgb));
        read += text;
    });
    FUZZ_CHECK(read.size() <= longest, "no more is read than the line's limit",
               QString::number(longest) + " < " + QString::number(read.size()));
    FUZZ_CHECK(cut == (html.size() > longest), "the line says it was cut when it was", html);
    for (qsizetype i = 0; i < read.size(); ++i) {
        FUZZ_CHECK(heldByALine(read[i]), "no character the line cannot hold", read);
        // The line is valid UTF-16, and stays so when cut.
        FUZZ_CHECK(read[i].isHighSurrogate() ? i + 1 < read.size() && read[i + 1].isLowSurrogate()
                                             : !read[i].isLowSurrogate() || (i > 0 && read[i - 1].isHighSurrogate()),
                   "no half of a surrogate pair", read);
    }
}

} // namespace

void fuzzChatMarkup(QByteArrayView data)
{
    // The first byte is a small limit to cut at, the rest a line as typed.
    if (data.isEmpty())
        return;
    const QString html = QString::fromUtf8(data.sliced(1));
    checkRead(data, html, static_cast<unsigned char>(data[0]));
    checkRead(data, html, ChatLineShown);

    QTextDocument document;
    QTextCursor cursor(&document);
    InsertChatMarkup(cursor, html, QTextCharFormat());
    FUZZ_CHECK(document.blockCount() == 1, "a line stays one paragraph", document.toPlainText());
    FUZZ_CHECK(document.characterCount() - 1 <= ChatLineShown + ChatLineCutMark.size(),
               "the room shows no more than the limit and the cut mark", QString::number(document.characterCount()));
    // Bold, italic and underline over the room's own font and 32 of a line's
    // own, and the document's formats for its block and frame.
    FUZZ_CHECK(document.allFormats().size() <= 8 * 33 + 4, "a line brings a bounded number of formats",
               QString::number(document.allFormats().size()));
}

DUN2_FUZZ_ENTRY(fuzzChatMarkup)
