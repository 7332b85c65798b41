// A line from the network as the room shows it and as it goes back out,
// and a line cut into pieces a server takes: the reader sees the same text,
// in the same bold, italic, underline and colour, whichever way it went.
#include "fuzzcheck.h"

#include "platform/chatmarkup.h"
#include "platform/irc/ircformat.h"
#include "platform/legacytext.h"

#include <algorithm>
#include <vector>

namespace {

constexpr char16_t FormattingCodes[] = {0x02, 0x03, 0x04, 0x0F, 0x11, 0x16, 0x1D, 0x1E, 0x1F};

bool isFormattingCode(QChar c)
{
    return std::find(std::begin(FormattingCodes), std::end(FormattingCodes), c.unicode()) != std::end(FormattingCodes);
}

// What a room line shows in place of each character: the characters it
// cannot hold (line ends, controls, the document's own marks) are blanks.
QString visible(QStringView text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const bool blank = c.category() == QChar::Other_Control || c == QChar::LineSeparator
                           || c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter
                           || c.isNonCharacter();
        shown += blank ? QChar(u' ') : c;
    }
    return shown;
}

// One character as a room shows it, with its style.
struct Seen {
    QChar c;
    bool bold, italic, underline;
    QRgb colour; // 0 for the room's own
    bool operator==(const Seen &) const = default;
};

std::vector<Seen> seen(QStringView irc)
{
    std::vector<Seen> out;
    const QString html = ChatMarkupFromIrc(irc);
    ReadChatMarkup(html, html.size(), [&](QStringView text, const ChatMarkupStyle &s) {
        for (const QChar c : text)
            out.push_back({c, s.bold, s.italic, s.underline, s.colour.isValid() ? s.colour.rgba() : 0});
    });
    return out;
}

QString described(const std::vector<Seen> &chars)
{
    QString s;
    for (const Seen &c : chars)
        s += QString(c.c) + (c.bold ? "b" : "") + (c.italic ? "i" : "") + (c.underline ? "u" : "")
             + (c.colour ? "#" + QString::number(c.colour & 0xFFFFFF, 16) : QString()) + ' ';
    return s;
}

void checkRoundTrip(QByteArrayView data, const QString &irc)
{
    const QString html = ChatMarkupFromIrc(irc);
    const QString back = IrcFromChatMarkup(html);
    FUZZ_CHECK(StripIrcFormatting(back) == visible(StripIrcFormatting(irc)),
               "IRC text to chat markup and back keeps the visible text", html + " became " + back);
    for (const QChar c : back)
        FUZZ_CHECK(c.category() != QChar::Other_Control || isFormattingCode(c),
                   "IRC text from markup holds no control character but formatting codes", back);
    // Once its colours are on the palette, a line goes round unchanged.
    const QString again = IrcFromChatMarkup(ChatMarkupFromIrc(back));
    FUZZ_CHECK(again == back, "a second way round changes nothing", back + " became " + again);
}

void checkSplit(QByteArrayView data, const QString &irc, int maxBytes)
{
    const QStringList pieces = SplitIrcText(irc, maxBytes);
    FUZZ_CHECK(!pieces.isEmpty(), "a split gives a piece", QString());
    QString joined;
    std::vector<Seen> seenInPieces;
    std::vector<bool> plain; // maybe: of a character alone in its piece
    for (const QString &piece : pieces) {
        // A piece too small for one character beside the codes that bring
        // back its formatting gets the character alone, without them.
        const bool alone = !piece.isEmpty() && QStringView(piece).toUcs4().size() == 1;
        FUZZ_CHECK(piece.toUtf8().size() <= maxBytes || alone,
                   "a piece holds at most maxBytes bytes, or one character alone",
                   QString::number(maxBytes) + ": " + piece);
        FUZZ_CHECK(pieces.size() == 1 || !StripIrcFormatting(piece).isEmpty(), "every piece of several has text",
                   pieces.join(u'|'));
        joined += StripIrcFormatting(piece);
        const std::vector<Seen> chars = seen(piece);
        seenInPieces.insert(seenInPieces.end(), chars.begin(), chars.end());
        plain.insert(plain.end(), chars.size(), alone);
    }
    FUZZ_CHECK(joined == StripIrcFormatting(irc), "the pieces hold the text", pieces.join(u'|'));

    std::vector<Seen> whole = seen(irc);
    FUZZ_CHECK(whole.size() == seenInPieces.size(), "the pieces show as many characters", pieces.join(u'|'));
    // A room shows the colours of a line's first 32 fonts only: past them
    // the whole line may show less than its pieces.
    const auto setsColour = [](QChar c) { return c == u'\x03' || c == u'\x04' || c == u'\x0F'; };
    if (std::count_if(irc.begin(), irc.end(), setsColour) > 32)
        return;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        FUZZ_CHECK(plain[i] ? whole[i].c == seenInPieces[i].c : whole[i] == seenInPieces[i],
                   "each piece brings back the formatting in force",
                   QString::number(maxBytes) + ": " + pieces.join(u'|') + "\n  shows " + described(seenInPieces)
                       + "\n  not " + described(whole));
    }
}

} // namespace

void fuzzIrcFormat(QByteArrayView data)
{
    // The first byte is the size of the pieces, the rest a line as the
    // network delivers it.
    if (data.isEmpty())
        return;
    const int maxBytes = 1 + static_cast<unsigned char>(data[0]);
    const QString irc = decodeUtf8OrWindows1252(data.sliced(1)).text;
    checkRoundTrip(data, irc);
    checkSplit(data, irc, maxBytes);
}

DUN2_FUZZ_ENTRY(fuzzIrcFormat)
