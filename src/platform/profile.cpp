#include "platform/profile.h"

#include "platform/legacytext.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <optional>

namespace {

// What Windows trims around names and values (the C locale's isspace, less
// the line breaks, which never reach a line).
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

QStringView trimmed(QStringView s)
{
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// A line break in anything we write would start a new line of the file.
QString singleLine(QString s)
{
    std::replace_if(s.begin(), s.end(), isLineBreak, u' ');
    return s;
}

QString nameOf(const QString &sectionOrKey)
{
    return trimmed(singleLine(sectionOrKey)).toString();
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isQuoted(QStringView s)
{
    return s.size() >= 2 && s.front() == u'"' && s.back() == u'"';
}

// The reader trims blanks and strips one pair of quotes, so a value with
// blanks at either end, or one that is itself quoted, is quoted to come back
// as it went in (a handle " Joe", a field holding one space).
QString storedValue(const QString &value)
{
    QString v = singleLine(value);
    if (!v.isEmpty() && (isBlank(v.front()) || isBlank(v.back()) || isQuoted(v)))
        v = u'"' + v + u'"';
    return v;
}

// A line's text is [start, end); its line break, empty on a last line
// without one, is [end, next).
struct Line {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

// Lines end at CRLF, LF or a lone CR.
class LineReader {
public:
    explicit LineReader(QStringView text) : m_text(text) {}

    bool next(Line &line)
    {
        if (m_pos >= m_text.size())
            return false;
        line.start = m_pos;
        while (m_pos < m_text.size() && !isLineBreak(m_text[m_pos]))
            ++m_pos;
        line.end = m_pos;
        if (m_pos < m_text.size())
            m_pos += m_text.sliced(m_pos).startsWith(u"\r\n") ? 2 : 1;
        line.next = m_pos;
        return true;
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

enum class LineKind { Blank, Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    QStringView name;  // of a section or a key
    QStringView value; // of a key, trimmed and unquoted
};

ParsedLine parseLine(QStringView line)
{
    ParsedLine parsed;
    line = trimmed(line);
    if (line.isEmpty()) {
        parsed.kind = LineKind::Blank;
    } else if (line.front() == u';' || line.front() == u'#') {
        // a comment
    } else if (line.front() == u'[') {
        // The last ']' closes the header, so a name holding ']' still reads
        // back; anything after it is ignored.
        const qsizetype close = line.lastIndexOf(u']');
        if (close > 0) {
            parsed.kind = LineKind::Section;
            parsed.name = trimmed(line.sliced(1, close - 1));
        }
    } else if (const qsizetype equals = line.indexOf(u'='); equals >= 0) {
        parsed.kind = LineKind::Key;
        parsed.name = trimmed(line.first(equals));
        parsed.value = trimmed(line.sliced(equals + 1));
        if (isQuoted(parsed.value))
            parsed.value = parsed.value.sliced(1, parsed.value.size() - 2);
    }
    return parsed;
}

// What the file holds for one section and key. Only the first section of
// that name counts, and only the first key of that name in it.
struct Lookup {
    bool sectionFound = false;
    std::optional<Line> key;
    QStringView value;
    Line lastFilledLine; // of the section, where a new key goes
};

Lookup find(QStringView text, QStringView section, QStringView key)
{
    Lookup found;
    bool inSection = false; // lines before any header are in no section
    LineReader lines(text);
    for (Line line; lines.next(line);) {
        const ParsedLine parsed = parseLine(text.sliced(line.start, line.end - line.start));
        if (parsed.kind == LineKind::Section) {
            if (inSection)
                break;
            inSection = found.sectionFound = sameName(parsed.name, section);
        }
        if (!inSection)
            continue;
        if (parsed.kind == LineKind::Key && sameName(parsed.name, key)) {
            found.key = line;
            found.value = parsed.value;
            break;
        }
        if (parsed.kind != LineKind::Blank)
            found.lastFilledLine = line;
    }
    return found;
}

// New lines follow the file's first line break; a file without one gets LF.
QString lineBreakOf(QStringView text)
{
    LineReader lines(text);
    Line first;
    if (lines.next(first) && text.sliced(first.end, first.next - first.end) == u"\r\n")
        return QStringLiteral("\r\n");
    return QStringLiteral("\n");
}

bool endsInBlankLine(QStringView text)
{
    LineReader lines(text);
    Line last;
    for (Line line; lines.next(line);)
        last = line;
    return trimmed(text.sliced(last.start, last.end - last.start)).isEmpty();
}

// A missing file reads as empty; nullopt is a file that is there but cannot
// be read, which a write must not replace.
std::optional<DecodedText> load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return DecodedText{};
    if (!info.isFile()) // a directory, or a FIFO that would block the read
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return decodeUtf8OrWindows1252(bytes);
}

QString cutToBuffer(QStringView s, int bufferSize)
{
    if (bufferSize <= 0)
        return {};
    qsizetype n = std::min<qsizetype>(s.size(), bufferSize - 1);
    if (n > 0 && n < s.size() && s[n - 1].isHighSurrogate() && s[n].isLowSurrogate())
        --n;
    return s.first(n).toString();
}

// The whole file with the key stored, every other line as it was.
QString withKey(QStringView text, const QString &section, const QString &key, const QString &value)
{
    const QString lineBreak = lineBreakOf(text);
    const QString keyLine = key + u'=' + storedValue(value);
    const Lookup found = find(text, section, key);
    QString out;
    out.reserve(text.size() + section.size() + keyLine.size() + 4 * lineBreak.size() + 2);
    if (found.key) {
        out += text.first(found.key->start);
        out += keyLine;
        out += text.sliced(found.key->end);
    } else if (found.sectionFound) {
        const Line &after = found.lastFilledLine;
        out += text.first(after.next);
        if (after.next == after.end)
            out += lineBreak;
        out += keyLine + lineBreak;
        out += text.sliced(after.next);
    } else {
        out += text;
        if (!text.isEmpty() && !isLineBreak(text.back()))
            out += lineBreak;
        if (!endsInBlankLine(text))
            out += lineBreak;
        out += u'[' + section + u']' + lineBreak + keyLine + lineBreak;
    }
    return out;
}

} // namespace

QString getPrivateProfileString(const QString &section, const QString &key, const QString &defaultValue,
                                int bufferSize, const QString &filePath)
{
    if (const std::optional<DecodedText> file = load(filePath)) {
        const Lookup found = find(file->text, nameOf(section), nameOf(key));
        if (found.key)
            return cutToBuffer(found.value, bufferSize);
    }
    return cutToBuffer(defaultValue, bufferSize);
}

bool writePrivateProfileString(const QString &section, const QString &key, const QString &value,
                               const QString &filePath)
{
    const std::optional<DecodedText> file = load(filePath);
    if (!file)
        return false;
    QByteArray bytes = file->hadByteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    bytes += withKey(file->text, nameOf(section), nameOf(key), value).toUtf8();

    // Temporary file and rename, never a direct write: a crash or a full
    // disk leaves the old file whole. Unbuffered, because a buffered
    // QSaveFile lets a write cut short by a full disk pass unnoticed and
    // commits the truncated file; unbuffered, the short write shows, the
    // next one fails, and the temporary file is thrown away.
    QSaveFile out(filePath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = out.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return out.commit();
}
