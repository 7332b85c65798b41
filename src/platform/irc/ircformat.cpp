#include "platform/irc/ircformat.h"

#include "platform/chatmarkup.h"

#include <QTextBoundaryFinder>
#include <climits>
#include <iterator>

namespace {

constexpr char16_t Bold = 0x02, Italic = 0x1D, Underline = 0x1F, Strikethrough = 0x1E, Monospace = 0x11,
                   Reverse = 0x16, Colour = 0x03, HexColour = 0x04, Reset = 0x0F;

// The codes that switch one property on and off; bit n of a style's
// toggles stands for Toggles[n], and carried formatting is written in
// this order.
constexpr char16_t Toggles[] = {Bold, Italic, Underline, Strikethrough, Monospace, Reverse};
constexpr unsigned BoldBit = 1, ItalicBit = 2, UnderlineBit = 4;
static_assert(Toggles[0] == Bold && Toggles[1] == Italic && Toggles[2] == Underline);

// The 16 colours every client knows, by number.
constexpr QRgb Palette[] = {0xFFFFFF, 0x000000, 0x00007F, 0x009300, 0xFF0000, 0x7F0000, 0x9C009C, 0xFC7F00,
                            0xFFFF00, 0x00FC00, 0x009393, 0x00FFFF, 0x0000FC, 0xFF00FF, 0x7F7F7F, 0xD2D2D2};
constexpr int Black = 1;

// A colour is a number of the palette (0 to 99), or an RGB value given by
// the hex colour code, marked by HexFlag; NoColour is the reader's own.
constexpr int NoColour = -1;
constexpr int HexFlag = 1 << 24;

struct IrcStyle {
    unsigned toggles = 0;
    int fg = NoColour;
    int bg = NoColour;
    bool operator==(const IrcStyle &) const = default;
};

bool isHex(int colour)
{
    return colour != NoColour && (colour & HexFlag);
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Reads up to `most` digits of a colour at `at` into value; says how many.
qsizetype readDigits(QStringView text, qsizetype at, qsizetype most, int base, int &value)
{
    qsizetype n = 0;
    value = 0;
    for (; n < most && at + n < text.size(); ++n) {
        const QChar c = text[at + n];
        const int digit = isAsciiDigit(c) ? c.unicode() - u'0'
                          : base == 16 && QStringView(u"abcdefABCDEF").contains(c) ? (c.unicode() | 0x20) - u'a' + 10
                                                                                   : -1;
        if (digit < 0)
            break;
        value = value * base + digit;
    }
    return n;
}

// A colour code's digits ("04", "04,12", "FF0000"); a code without them
// gives the reader's own colours back.
qsizetype readColour(QStringView text, qsizetype at, IrcStyle &style)
{
    const bool hex = text[at] == HexColour;
    const qsizetype most = hex ? 6 : 2;
    const int flag = hex ? HexFlag : 0;
    auto read = [&](qsizetype from, int &colour) {
        int value = 0;
        const qsizetype n = readDigits(text, from, most, hex ? 16 : 10, value);
        if (n == 0 || (hex && n < most))
            return qsizetype(0);
        colour = value | flag;
        return n;
    };
    qsizetype length = 1;
    const qsizetype fg = read(at + length, style.fg);
    if (fg == 0) {
        style.fg = style.bg = NoColour;
        return length;
    }
    length += fg;
    if (at + length < text.size() && text[at + length] == u',')
        if (const qsizetype bg = read(at + length + 1, style.bg))
            length += 1 + bg;
    return length;
}

// How long the formatting code at `at` is, its effect laid onto style; 0
// where the text has a character there.
qsizetype readCode(QStringView text, qsizetype at, IrcStyle &style)
{
    const char16_t c = text[at].unicode();
    if (c == Colour || c == HexColour)
        return readColour(text, at, style);
    if (c == Reset) {
        style = {};
        return 1;
    }
    for (std::size_t n = 0; n < std::size(Toggles); ++n) {
        if (c == Toggles[n]) {
            style.toggles ^= 1u << n;
            return 1;
        }
    }
    return 0;
}

QString hexDigits(int rgb)
{
    return QString::number(rgb & 0xFFFFFF, 16).rightJustified(6, u'0').toUpper();
}

QString colourCode(const IrcStyle &style)
{
    // A background of the other kind than the foreground cannot go with it.
    if (isHex(style.fg))
        return QChar(HexColour) + hexDigits(style.fg) + (isHex(style.bg) ? u',' + hexDigits(style.bg) : QString());
    auto number = [](int n) { return QString::number(n).rightJustified(2, u'0'); };
    const bool bg = style.bg != NoColour && !isHex(style.bg);
    return QChar(Colour) + number(style.fg) + (bg ? u',' + number(style.bg) : QString());
}

// Appends the codes that turn formatting `from` into `to` before `next`.
void switchStyle(QString &out, const IrcStyle &from, const IrcStyle &to, QStringView next)
{
    bool colourLast = false;
    bool bare = false;
    if (from.fg != to.fg || from.bg != to.bg) {
        // A foreground code leaves the background as it was.
        bare = to.fg == NoColour || (to.bg == NoColour && from.bg != NoColour);
        if (bare)
            out += Colour;
        if (to.fg != NoColour) {
            out += colourCode(to);
            bare = false;
        }
        colourLast = true;
    }
    for (std::size_t n = 0; n < std::size(Toggles); ++n) {
        if ((from.toggles ^ to.toggles) & (1u << n)) {
            out += Toggles[n];
            colourLast = false;
        }
    }
    // Digits or a comma right after a colour code would be read as part of
    // it; two bolds in a row keep them apart and show nothing.
    if (colourLast && !next.isEmpty() && (next.front() == u',' || (bare && isAsciiDigit(next.front()))))
        out += QString{Bold, Bold};
}

// The nearest colour of the palette. Black is the colour of a room's
// message text, and on IRC the reader's own text colour stands for it, so
// that nothing is written black on a dark background.
int nearestColour(const QColor &colour)
{
    if (!colour.isValid())
        return NoColour;
    int nearest = 0;
    int nearestDistance = INT_MAX;
    for (int n = 0; n < int(std::size(Palette)); ++n) {
        const int r = colour.red() - qRed(Palette[n]), g = colour.green() - qGreen(Palette[n]),
                  b = colour.blue() - qBlue(Palette[n]);
        if (const int distance = r * r + g * g + b * b; distance < nearestDistance) {
            nearest = n;
            nearestDistance = distance;
        }
    }
    return nearest == Black ? NoColour : nearest;
}

// The tags of the toggles a room line can show, by bit.
constexpr struct {
    QStringView open, close;
} ShownTags[] = {{u"<b>", u"</b>"}, {u"<i>", u"</i>"}, {u"<u>", u"</u>"}};

// What a room line can show of a style: bold, italic, underline and the
// foreground as RGB.
IrcStyle shownStyle(const IrcStyle &style)
{
    IrcStyle shown{.toggles = style.toggles & ((1u << std::size(ShownTags)) - 1)};
    if (isHex(style.fg))
        shown.fg = style.fg;
    else if (style.fg >= 0 && style.fg < int(std::size(Palette)))
        shown.fg = int(Palette[style.fg]) | HexFlag;
    return shown;
}

// The font goes outside the other tags, so that switching bold, italic or
// underline leaves it open: a room honours only the first few fonts of a
// line, and a line that switches often would lose its colour.
void openFont(QString &out, const IrcStyle &shown)
{
    if (shown.fg != NoColour) {
        out += u"<font color=#";
        out += hexDigits(shown.fg);
        out += u'>';
    }
}

void closeFont(QString &out, const IrcStyle &shown)
{
    if (shown.fg != NoColour)
        out += u"</font>";
}

void openToggles(QString &out, const IrcStyle &shown)
{
    for (std::size_t n = 0; n < std::size(ShownTags); ++n)
        if (shown.toggles & (1u << n))
            out += ShownTags[n].open;
}

void closeToggles(QString &out, const IrcStyle &shown)
{
    for (std::size_t n = std::size(ShownTags); n-- > 0;)
        if (shown.toggles & (1u << n))
            out += ShownTags[n].close;
}

// Bytes of the character at `at` in UTF-8, and its length in units; a lone
// surrogate goes out as a replacement character.
int utf8Bytes(QStringView text, qsizetype at, qsizetype &units)
{
    const char16_t c = text[at].unicode();
    units = 1;
    if (QChar::isHighSurrogate(c) && at + 1 < text.size() && text[at + 1].isLowSurrogate()) {
        units = 2;
        return 4;
    }
    return c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
}

// A place a piece may end: after a character, with the style in force there.
struct Cut {
    qsizetype at = -1;
    qsizetype bytes = 0; // of the piece up to here
    IrcStyle style;
};

} // namespace

QString IrcFromChatMarkup(QStringView html)
{
    QString out;
    out.reserve(html.size());
    IrcStyle sent;
    ReadChatMarkup(html, html.size(), [&](QStringView text, const ChatMarkupStyle &style) {
        const IrcStyle wanted{
            .toggles = (style.bold ? BoldBit : 0) | (style.italic ? ItalicBit : 0) | (style.underline ? UnderlineBit : 0),
            .fg = nearestColour(style.colour)};
        switchStyle(out, sent, wanted, text);
        sent = wanted;
        // A line break cannot be sent inside a line.
        for (QChar c : text)
            out += c == QChar::LineSeparator || c.category() == QChar::Other_Control ? QChar(u' ') : c;
    });
    return out;
}

QString StripIrcFormatting(QStringView text)
{
    QString out;
    out.reserve(text.size());
    IrcStyle ignored;
    for (qsizetype i = 0; i < text.size();) {
        if (const qsizetype code = readCode(text, i, ignored)) {
            i += code;
            continue;
        }
        out += text[i++];
    }
    return out;
}

QString ChatMarkupFromIrc(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    IrcStyle style;
    IrcStyle open; // what the tags written so far show
    for (qsizetype i = 0; i < text.size();) {
        if (const qsizetype code = readCode(text, i, style)) {
            i += code;
            continue;
        }
        if (const IrcStyle shown = shownStyle(style); shown != open) {
            closeToggles(out, open);
            if (shown.fg != open.fg) {
                closeFont(out, open);
                openFont(out, shown);
            }
            openToggles(out, shown);
            open = shown;
        }
        const QChar c = text[i++];
        if (c == u'<')
            out += u"&lt;";
        else if (c == u'>')
            out += u"&gt;";
        else if (c == u'&')
            out += u"&amp;";
        else
            out += c;
    }
    closeToggles(out, open);
    closeFont(out, open);
    return out;
}

QStringList SplitIrcText(QStringView text, int maxBytes)
{
    QStringList pieces;
    const qsizetype n = text.size();
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text.data(), n);
    IrcStyle style; // in force at pos
    qsizetype pos = 0;
    while (true) {
        // Codes where a piece starts are carried in one normal form.
        while (pos < n)
            if (const qsizetype code = readCode(text, pos, style))
                pos += code;
            else
                break;
        if (pos == n)
            break;
        QString piece;
        switchStyle(piece, {}, style, text.sliced(pos));

        Cut last, blank, grapheme;
        IrcStyle running = style;
        qsizetype bytes = piece.size();
        qsizetype i = pos;
        while (i < n) {
            IrcStyle after = running;
            qsizetype units = readCode(text, i, after);
            const bool isText = units == 0;
            const qsizetype size = isText ? utf8Bytes(text, i, units) : units;
            if (bytes + size > maxBytes)
                break;
            bytes += size;
            i += units;
            running = after;
            if (!isText)
                continue;
            last = {i, bytes, running};
            if (text[i - 1] == u' ')
                blank = last;
            graphemes.setPosition(i);
            if (graphemes.isAtBoundary())
                grapheme = last;
        }
        if (i == n) {
            pieces += piece.append(text.sliced(pos));
            break;
        }
        Cut cut = blank.at >= 0 && blank.bytes * 5 >= qsizetype(maxBytes) * 4 ? blank
                  : grapheme.at >= 0                                          ? grapheme
                                                                              : last;
        if (cut.at < 0) {
            // Not one character fits beside the carried codes: it goes
            // anyway, alone when it must.
            qsizetype units = 0;
            if (piece.size() + utf8Bytes(text, pos, units) > maxBytes)
                piece.clear();
            cut = {pos + units, 0, style};
        }
        pieces += piece.append(text.sliced(pos, cut.at - pos));
        pos = cut.at;
        style = cut.style;
    }
    if (pieces.isEmpty())
        pieces += QString();
    return pieces;
}
