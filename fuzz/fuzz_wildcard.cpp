// The chat commands' pattern test against a plain matcher written from the
// pattern language alone, which tries every way a star can take its run:
// slow, but plainly right.
#include "fuzzcheck.h"

#include "chat/wildcard.h"

#include <QList>
#include <vector>

namespace {

struct Element {
    enum class Kind { Star, Empty, One } kind;
    std::vector<char32_t> list; // of a [list]; one character for a plain one
    bool negated = false;
    bool any = false;   // ?
    bool digit = false; // #
};

std::vector<Element> elements(const std::vector<char32_t> &p)
{
    std::vector<Element> out;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] == U'*') {
            out.push_back({Element::Kind::Star, {}});
        } else if (p[i] == U'?' || p[i] == U'#') {
            out.push_back({Element::Kind::One, {}, false, p[i] == U'?', p[i] == U'#'});
        } else if (p[i] == U'[') {
            const bool negated = i + 1 < p.size() && p[i + 1] == U'!';
            std::size_t close = i + 1 + (negated ? 1 : 0);
            while (close < p.size() && p[close] != U']')
                ++close;
            if (close == p.size()) {
                out.push_back({Element::Kind::One, {U'['}});
            } else if (close == i + 1) {
                out.push_back({Element::Kind::Empty, {}});
                i = close;
            } else {
                const auto first = p.begin() + i + 1 + (negated ? 1 : 0);
                out.push_back({Element::Kind::One, {first, p.begin() + close}, negated});
                i = close;
            }
        } else {
            out.push_back({Element::Kind::One, {p[i]}});
        }
    }
    return out;
}

bool takes(const Element &e, char32_t c)
{
    if (e.any)
        return true;
    if (e.digit)
        return c >= U'0' && c <= U'9';
    bool in = false;
    const std::vector<char32_t> &l = e.list;
    for (std::size_t i = 0; i < l.size() && !in; ++i) {
        if (i + 2 < l.size() && l[i + 1] == U'-') {
            in = l[i] <= c && c <= l[i + 2];
            i += 2;
        } else {
            in = l[i] == c;
        }
    }
    return in != e.negated;
}

// matches[j]: whether the line so far is matched by the first j elements.
bool plainMatch(const std::vector<char32_t> &line, const std::vector<Element> &pattern)
{
    const std::size_t m = pattern.size();
    std::vector<char> matches(m + 1, 0), next(m + 1);
    matches[0] = 1;
    const auto closeOverEmpty = [&](std::vector<char> &row) {
        for (std::size_t j = 0; j < m; ++j)
            if (row[j] && pattern[j].kind != Element::Kind::One)
                row[j + 1] = 1;
    };
    closeOverEmpty(matches);
    for (const char32_t c : line) {
        std::fill(next.begin(), next.end(), 0);
        for (std::size_t j = 0; j < m; ++j) {
            if (!matches[j])
                continue;
            if (pattern[j].kind == Element::Kind::Star)
                next[j] = 1;
            else if (pattern[j].kind == Element::Kind::One && takes(pattern[j], c))
                next[j + 1] = 1;
        }
        closeOverEmpty(next);
        matches.swap(next);
    }
    return matches[m];
}

std::vector<char32_t> codePoints(QStringView text)
{
    const QList<uint> ucs4 = text.toUcs4();
    return {ucs4.begin(), ucs4.end()};
}

} // namespace

void fuzzWildcard(QByteArrayView data)
{
    // The pattern up to the first line break, the line after it.
    const QString text = QString::fromUtf8(data);
    const qsizetype lineBreak = text.indexOf(u'\n');
    const QStringView pattern = QStringView(text).first(lineBreak < 0 ? text.size() : lineBreak);
    const QStringView line = lineBreak < 0 ? QStringView() : QStringView(text).sliced(lineBreak + 1);
    const bool expected = plainMatch(codePoints(line), elements(codePoints(pattern)));
    FUZZ_CHECK(MatchesPattern(line, pattern) == expected,
               expected ? "a line the pattern describes matches" : "a line the pattern does not describe fails",
               "\"" + line.toString() + "\" against \"" + pattern.toString() + "\"");
}

DUN2_FUZZ_ENTRY(fuzzWildcard)
