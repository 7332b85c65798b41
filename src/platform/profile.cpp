#include "platform/profile.h"

#include "platform/filename.h"
#include "platform/profilelines.h"
#include "platform/textcut.h"
#include "platform/wholefile.h"

#include <algorithm>
#include <optional>
#include <utility>

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
    std::optional<ProfileLine> key;
    QString value;
    QString valueAsFileName;             // its own bytes, escaped as decodeFileName does
    ProfileLine lastFilledLine;          // of the section, where a new key goes
    std::optional<ProfileLine> lastLine; // of the file, when the section is not there
};

Lookup find(const ProfileBytes &file, QStringView section, QStringView key)
{
    Lookup found;
    bool inSection = false; // lines before any header are in no section
    ProfileLineReader lines(file);
    for (ProfileLine line; lines.next(line);) {
        found.lastLine = line;
        const DecodedText text = file.decode(line);
        const ParsedLine parsed = parseLine(text.text);
        if (parsed.kind == LineKind::Section) {
            if (inSection)
                return found;
            inSection = found.sectionFound = sameName(parsed.name, section);
        }
        if (!inSection)
            continue;
        if (parsed.kind == LineKind::Key && sameName(parsed.name, key)) {
            found.key = line;
            found.value = parsed.value.toString();
            // A Windows-1252 line has one character per byte.
            found.valueAsFileName = text.windows1252
                ? decodeFileName(QByteArrayView(file.bytes()).sliced(
                      line.start + (parsed.value.data() - text.text.data()), parsed.value.size()))
                : found.value;
            return found;
        }
        if (parsed.kind != LineKind::Blank)
            found.lastFilledLine = line;
    }
    return found;
}

// New lines follow the file's first line break; a file without one gets LF.
QString lineBreakOf(const ProfileBytes &file)
{
    ProfileLineReader lines(file);
    ProfileLine first;
    if (lines.next(first) && file.isCrLf(first))
        return QStringLiteral("\r\n");
    return QStringLiteral("\n");
}

// A missing file reads as empty; nullopt is a file that is there but cannot
// be read, which a write must not replace.
std::optional<ProfileBytes> load(const QString &path)
{
    std::optional<QByteArray> bytes = readWholeFile(path);
    if (!bytes)
        return std::nullopt;
    return ProfileBytes(std::move(*bytes));
}

std::optional<Lookup> lookUp(const QString &section, const QString &key, const QString &filePath)
{
    const std::optional<ProfileBytes> file = load(filePath);
    if (!file)
        return std::nullopt;
    Lookup found = find(*file, nameOf(section), nameOf(key));
    if (!found.key)
        return std::nullopt;
    return found;
}

QString cutToBuffer(QStringView s, int bufferSize)
{
    if (bufferSize <= 0)
        return {};
    return s.first(wholeCharactersWithin(s, bufferSize - 1)).toString();
}

// The whole file with the key stored, every other line as it was, byte
// for byte.
QByteArray withKey(const ProfileBytes &file, const QString &section, const QString &key, const QString &value)
{
    const QByteArrayView bytes = file.bytes();
    const QByteArray lineBreak = file.encode(lineBreakOf(file));
    const QByteArray keyLine = file.encode(key + u'=' + storedValue(value));
    const Lookup found = find(file, section, key);
    QByteArray out;
    out.reserve(bytes.size() + keyLine.size() + 2 * section.size() + 4 * lineBreak.size() + 4);
    if (found.key) {
        out += bytes.first(found.key->start);
        out += keyLine;
        out += bytes.sliced(found.key->end);
    } else if (found.sectionFound) {
        const ProfileLine &after = found.lastFilledLine;
        out += bytes.first(after.next);
        if (after.next == after.end)
            out += lineBreak;
        out += keyLine + lineBreak;
        out += bytes.sliced(after.next);
    } else {
        out += bytes;
        if (const std::optional<ProfileLine> &last = found.lastLine) {
            if (last->next == last->end)
                out += lineBreak;
            if (!trimmed(file.decode(*last).text).isEmpty())
                out += lineBreak;
        }
        out += file.encode(u'[' + section + u']') + lineBreak + keyLine + lineBreak;
    }
    return out;
}

} // namespace

QString getPrivateProfileString(const QString &section, const QString &key, const QString &defaultValue,
                                int bufferSize, const QString &filePath)
{
    const std::optional<Lookup> found = lookUp(section, key, filePath);
    return cutToBuffer(found ? found->value : defaultValue, bufferSize);
}

QString getPrivateProfileFileName(const QString &section, const QString &key, const QString &filePath)
{
    const std::optional<Lookup> found = lookUp(section, key, filePath);
    return found ? found->valueAsFileName : QString();
}

bool writePrivateProfileString(const QString &section, const QString &key, const QString &value,
                               const QString &filePath)
{
    const std::optional<ProfileBytes> file = load(filePath);
    return file && replaceWholeFile(filePath, withKey(*file, nameOf(section), nameOf(key), value));
}
