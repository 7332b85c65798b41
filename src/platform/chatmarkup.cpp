#include "platform/chatmarkup.h"

#include "platform/textcut.h"

#include <QColor>
#include <QStringList>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <vector>

namespace {

// Font tags a line may open with attributes of their own; further ones
// repeat the font in force. Every distinct format stays in the document
// until it is rebuilt, so a line must not bring thousands.
constexpr std::size_t FontsHonoured = 32;
constexpr qsizetype LongestFace = 64;
constexpr qsizetype FacesHonoured = 4;
constexpr qsizetype LongestEntity = 10;

// The sizes 1 to 7 of a font tag, against the transcript's own size (3).
constexpr qreal SizeFactors[] = {0.7, 0.8, 1.0, 1.2, 1.5, 2.0, 2.4};

// Characters that would end the line, or that the document keeps for its
// own structure, are shown as blanks.
QChar shown(QChar c)
{
    if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator
        || c == QChar::ObjectReplacementCharacter || c.isNonCharacter())
        return u' ';
    return c;
}

// Calls take(name, value) for each attribute of a tag; a value may be
// quoted with either quote or bare up to the next blank.
template <typename Take>
void forEachAttribute(QStringView s, Take take)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (true) {
        while (i < n && (s[i].isSpace() || s[i] == u'/'))
            ++i;
        if (i >= n)
            return;
        const qsizetype nameStart = i;
        while (i < n && !s[i].isSpace() && s[i] != u'=')
            ++i;
        const QStringView name = s.sliced(nameStart, i - nameStart);
        while (i < n && s[i].isSpace())
            ++i;
        QStringView value;
        if (i < n && s[i] == u'=') {
            ++i;
            while (i < n && s[i].isSpace())
                ++i;
            if (i < n && (s[i] == u'"' || s[i] == u'\'')) {
                const QChar quote = s[i++];
                const qsizetype valueStart = i;
                while (i < n && s[i] != quote)
                    ++i;
                value = s.sliced(valueStart, i - valueStart);
                ++i;
            } else {
                const qsizetype valueStart = i;
                while (i < n && !s[i].isSpace())
                    ++i;
                value = s.sliced(valueStart, i - valueStart);
            }
        }
        take(name, value);
    }
}

QColor colourOf(QStringView value)
{
    QColor colour = QColor::fromString(value);
    if (!colour.isValid() && value.size() == 6)
        colour = QColor::fromString(QString(u'#' + value.toString()));
    // Text in a colour of its own is still seen: no transparency.
    if (colour.isValid())
        colour.setAlpha(255);
    return colour;
}

int sizeOf(QStringView value, int current)
{
    bool ok = false;
    int size = value.toInt(&ok);
    if (!ok || value.isEmpty())
        return current;
    if (value.front() == u'+' || value.front() == u'-')
        size += 3;
    return std::clamp(size, 1, 7);
}

QStringList facesOf(QStringView value)
{
    QStringList faces;
    for (QStringView face : value.split(u',')) {
        face = face.trimmed();
        if (!face.isEmpty() && face.size() <= LongestFace && faces.size() < FacesHonoured)
            faces.append(face.toString());
    }
    return faces;
}

// The text of a character reference without its "&" and ";", or nothing.
QString entity(QStringView name)
{
    if (name.startsWith(u'#')) {
        bool ok = false;
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        const uint code = name.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        if (!ok || code == 0 || code > 0x10FFFF || QChar::isSurrogate(code))
            return {};
        const char32_t character = code;
        const QString text = QString::fromUcs4(&character, 1);
        return text.size() == 1 ? QString(shown(text.front())) : text;
    }
    static const struct {
        const char16_t *name;
        char16_t text;
    } named[] = {{u"amp", u'&'}, {u"lt", u'<'}, {u"gt", u'>'}, {u"quot", u'"'}, {u"apos", u'\''}, {u"nbsp", u'\u00A0'}};
    for (const auto &n : named)
        if (name == QStringView(n.name))
            return QString(QChar(n.text));
    return {};
}

// Gathers runs of text, each in the style that the tags before it set.
class MarkupReader
{
public:
    using Run = std::function<void(QStringView, const ChatMarkupStyle &)>;

    explicit MarkupReader(const Run &run)
        : m_run(run)
    {
    }

    void text(QChar c) { m_text += shown(c); }
    void text(const QString &s) { m_text += s; }

    void tag(QStringView inside)
    {
        const bool closing = inside.startsWith(u'/');
        if (closing)
            inside = inside.sliced(1);
        qsizetype n = 0;
        while (n < inside.size() && inside[n].isLetterOrNumber())
            ++n;
        const QStringView name = inside.first(n);
        auto is = [name](const char16_t *tag) { return name.compare(QStringView(tag), Qt::CaseInsensitive) == 0; };
        if (is(u"br")) {
            m_text += QChar::LineSeparator;
        } else if (is(u"b")) {
            setFlag(m_bold, !closing);
        } else if (is(u"i")) {
            setFlag(m_italic, !closing);
        } else if (is(u"u")) {
            setFlag(m_underline, !closing);
        } else if (is(u"font")) {
            flush();
            if (closing) {
                if (!m_fonts.empty())
                    m_fonts.pop_back();
            } else {
                m_fonts.push_back(m_fonts.empty() ? ChatMarkupStyle{} : m_fonts.back());
                if (++m_fontsOpened <= FontsHonoured)
                    readFont(inside.sliced(n), m_fonts.back());
            }
        }
    }

    void flush()
    {
        if (m_text.isEmpty())
            return;
        ChatMarkupStyle style = m_fonts.empty() ? ChatMarkupStyle{} : m_fonts.back();
        style.bold = m_bold;
        style.italic = m_italic;
        style.underline = m_underline;
        m_run(m_text, style);
        m_text.clear();
    }

private:
    void setFlag(bool &flag, bool on)
    {
        if (flag == on)
            return;
        flush();
        flag = on;
    }

    static void readFont(QStringView attributes, ChatMarkupStyle &font)
    {
        forEachAttribute(attributes, [&font](QStringView name, QStringView value) {
            if (name.compare(u"color", Qt::CaseInsensitive) == 0) {
                if (QColor colour = colourOf(value); colour.isValid())
                    font.colour = colour;
            } else if (name.compare(u"face", Qt::CaseInsensitive) == 0) {
                if (QStringList faces = facesOf(value); !faces.isEmpty())
                    font.faces = faces;
            } else if (name.compare(u"size", Qt::CaseInsensitive) == 0) {
                font.size = sizeOf(value, font.size ? font.size : 3);
            }
        });
    }

    const Run &m_run;
    QString m_text;
    bool m_bold = false;
    bool m_italic = false;
    bool m_underline = false;
    // The fonts open, each with the attributes of those around it.
    std::vector<ChatMarkupStyle> m_fonts;
    std::size_t m_fontsOpened = 0;
};

bool opensTag(QStringView html, qsizetype at)
{
    if (at >= html.size())
        return false;
    const QChar c = html[at];
    if (c == u'/')
        return at + 1 < html.size() && html[at + 1].isLetter();
    return c.isLetter() || c == u'!';
}

// How much of a line is read: no more than is shown, and never half a
// surrogate pair.
qsizetype shownLength(QStringView text, qsizetype longest)
{
    return wholeCharactersWithin(text, longest);
}

// The character format of a run, laid over the room's own.
QTextCharFormat formatOf(const ChatMarkupStyle &style, const QTextCharFormat &base, qreal basePointSize)
{
    QTextCharFormat f = base;
    if (style.bold)
        f.setFontWeight(QFont::Bold);
    if (style.italic)
        f.setFontItalic(true);
    if (style.underline)
        f.setFontUnderline(true);
    if (style.colour.isValid())
        f.setForeground(style.colour);
    if (!style.faces.isEmpty())
        f.setFontFamilies(style.faces);
    if (style.size)
        f.setFontPointSize(basePointSize * SizeFactors[style.size - 1]);
    return f;
}

} // namespace

bool ReadChatMarkup(QStringView html, qsizetype longest,
                    const std::function<void(QStringView text, const ChatMarkupStyle &style)> &run)
{
    MarkupReader reader(run);
    const qsizetype end = shownLength(html, longest);
    const bool cut = end < html.size();
    // Where the next ">" is, looked up again only once passed, so that a
    // line full of "<" costs one pass; the end when there is none.
    qsizetype close = -1;
    for (qsizetype i = 0; i < end;) {
        const QChar c = html[i];
        if (c == u'<' && opensTag(html, i + 1)) {
            if (close < i) {
                close = html.first(end).indexOf(u'>', i);
                if (close < 0)
                    close = end;
            }
            if (close < end) {
                reader.tag(html.sliced(i + 1, close - i - 1));
                i = close + 1;
                continue;
            }
            if (cut)
                break; // a tag cut through is not shown
        } else if (c == u'&') {
            const qsizetype semicolon = html.first(std::min(end, i + LongestEntity + 2)).indexOf(u';', i);
            if (semicolon > i) {
                if (QString text = entity(html.sliced(i + 1, semicolon - i - 1)); !text.isEmpty()) {
                    reader.text(text);
                    i = semicolon + 1;
                    continue;
                }
            }
        }
        reader.text(c);
        ++i;
    }
    reader.flush();
    return cut;
}

void InsertChatMarkup(QTextCursor &cursor, QStringView html, const QTextCharFormat &base)
{
    qreal basePointSize = base.hasProperty(QTextFormat::FontPointSize) ? base.fontPointSize()
                                                                        : cursor.document()->defaultFont().pointSizeF();
    if (basePointSize <= 0)
        basePointSize = 9;
    const bool cut = ReadChatMarkup(html, ChatLineShown, [&](QStringView text, const ChatMarkupStyle &style) {
        cursor.insertText(text.toString(), formatOf(style, base, basePointSize));
    });
    if (cut)
        cursor.insertText(ChatLineCutMark.toString(), base);
}

void InsertChatText(QTextCursor &cursor, QStringView text, const QTextCharFormat &format)
{
    const qsizetype end = shownLength(text, ChatLineShown);
    QString shownText;
    shownText.reserve(end + ChatLineCutMark.size());
    for (QChar c : text.first(end))
        shownText += shown(c);
    if (end < text.size())
        shownText += ChatLineCutMark;
    cursor.insertText(shownText, format);
}
