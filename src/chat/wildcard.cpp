#include "chat/wildcard.h"

namespace {

// The code point at i and how many UTF-16 units it takes.
struct CodePoint {
    char32_t value;
    qsizetype length;
};

CodePoint codePointAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text[i + 1]), 2};
    return {c.unicode(), 1};
}

// One element of the pattern: what it matches and where the next begins.
struct Element {
    enum class Kind { Star, Empty, Single } kind;
    qsizetype end; // the position of the next element
};

// The closing bracket of a list that opens at `open`, or -1 if it has none.
qsizetype listEnd(QStringView pattern, qsizetype open)
{
    qsizetype i = open + 1;
    if (i < pattern.size() && pattern[i] == u'!')
        ++i;
    return pattern.indexOf(u']', i);
}

Element elementAt(QStringView pattern, qsizetype i)
{
    const QChar c = pattern[i];
    if (c == u'*')
        return {Element::Kind::Star, i + 1};
    if (c == u'[') {
        const qsizetype close = listEnd(pattern, i);
        if (close == i + 1)
            return {Element::Kind::Empty, close + 1};
        if (close > 0)
            return {Element::Kind::Single, close + 1};
    }
    return {Element::Kind::Single, i + codePointAt(pattern, i).length};
}

bool listHolds(QStringView list, char32_t c)
{
    qsizetype i = 0;
    while (i < list.size()) {
        const CodePoint low = codePointAt(list, i);
        i += low.length;
        // A "-" between two characters makes a range; first or last it is itself.
        if (i + 1 < list.size() && list[i] == u'-') {
            const CodePoint high = codePointAt(list, i + 1);
            i += 1 + high.length;
            if (low.value <= c && c <= high.value)
                return true;
        } else if (low.value == c) {
            return true;
        }
    }
    return false;
}

// Whether the single-character element from `start` to `end` takes c.
bool singleMatches(QStringView pattern, qsizetype start, qsizetype end, char32_t c)
{
    const QChar p = pattern[start];
    if (p == u'?')
        return true;
    if (p == u'#')
        return c >= U'0' && c <= U'9';
    if (p == u'[' && end - start >= 2 && pattern[end - 1] == u']') {
        const bool negated = pattern[start + 1] == u'!';
        const qsizetype first = start + 1 + (negated ? 1 : 0);
        return listHolds(pattern.mid(first, end - 1 - first), c) != negated;
    }
    return codePointAt(pattern, start).value == c;
}

} // namespace

bool MatchesPattern(QStringView line, QStringView pattern)
{
    qsizetype li = 0, pi = 0;
    // Where to go on after the last "*": the pattern after it, and the line
    // position from which that star's run is to grow by one character.
    qsizetype starPattern = -1, starLine = 0;
    while (li < line.size()) {
        if (pi < pattern.size()) {
            const Element element = elementAt(pattern, pi);
            if (element.kind == Element::Kind::Empty) {
                pi = element.end;
                continue;
            }
            if (element.kind == Element::Kind::Star) {
                pi = element.end;
                starPattern = pi;
                starLine = li;
                continue;
            }
            const CodePoint c = codePointAt(line, li);
            if (singleMatches(pattern, pi, element.end, c.value)) {
                li += c.length;
                pi = element.end;
                continue;
            }
        }
        if (starPattern < 0)
            return false;
        starLine += codePointAt(line, starLine).length;
        li = starLine;
        pi = starPattern;
    }
    while (pi < pattern.size()) {
        const Element element = elementAt(pattern, pi);
        if (element.kind == Element::Kind::Single)
            return false;
        pi = element.end;
    }
    return true;
}
