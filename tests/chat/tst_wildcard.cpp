#include "chat/wildcard.h"
#include "support/testregistry.h"

#include <QTest>

namespace {

struct Case {
    const char16_t *pattern;
    const char16_t *line;
    bool matches;
};

constexpr Case Cases[] = {
    // Case-sensitive: the caller lower-cases the line.
    {u"A", u"a", false},
    // Stars anywhere, several, and runs that must backtrack.
    {u"*", u"", true}, {u"*", u"anything", true}, {u"**", u"", true}, {u"a*b", u"ab", true},
    {u"a*b", u"axxb", true}, {u"a*b", u"axxbx", false}, {u"a*b*c", u"abbbcbc", true}, {u"*aab", u"aaaab", true},
    {u"*a*a*a*a*b", u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
    {u"", u"", true}, {u"", u"a", false}, {u"a", u"", false},
    // One character, one digit; an Arabic-Indic three is not 0 to 9.
    {u"?", u"", false}, {u"??", u"ab", true}, {u"#", u"7", true}, {u"#", u"x", false}, {u"##", u"1", false},
    {u"#", u"\u0663", false},
    // Lists, negated lists and ranges; a range written downwards holds nothing.
    {u"[abc]", u"b", true}, {u"[abc]", u"d", false}, {u"[!abc]", u"d", true}, {u"[!abc]", u"a", false},
    {u"[a-c]x", u"bx", true}, {u"[a-c]", u"d", false}, {u"[!a-c]", u"d", true}, {u"[0-9a-f]", u"e", true},
    {u"[-a]", u"-", true}, {u"[a-]", u"-", true}, {u"[c-a]", u"b", false}, {u"[*?#]", u"*", true},
    {u"[*?#]", u"x", false}, {u"[[]", u"[", true}, {u"a[]b", u"ab", true}, {u"[!]", u"q", true},
    {u"[!]", u"", false}, {u"]", u"]", true},
    // No closing bracket: plain text.
    {u"[abc", u"[abc", true}, {u"[abc", u"a", false},
    // A character outside the BMP is one character.
    {u"?", u"\U0001F3B5", true}, {u"[\U0001F3B5]", u"\U0001F3B5", true}, {u"\U0001F3B5*", u"\U0001F3B5 song", true},
};

} // namespace

class WildcardTest : public QObject
{
    Q_OBJECT

private slots:
    void patterns()
    {
        for (const Case &c : Cases) {
            const QString pattern = QString::fromUtf16(c.pattern), line = QString::fromUtf16(c.line);
            if (MatchesPattern(line, pattern) != c.matches)
                QFAIL(qPrintable(QString("\"%1\" against \"%2\" should %3match")
                                     .arg(line, pattern, c.matches ? "" : "not ")));
        }
    }
};

DUN2_TEST(WildcardTest);
#include "tst_wildcard.moc"
