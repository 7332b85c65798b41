// IRC formatting of a long line, each way, and its cutting into lines a
// server takes, also of what a stranger may send to make the work grow
// faster than the line: every step must grow with the line's length alone,
// a fixed number of times the floor at every size. The floor, measured in
// the same run, is one UTF-8 encoding of the same text.
// Usage: bench_ircformat [bytes of markup: 1k|100k|1M]
#include "figures.h"
#include "platform/irc/ircformat.h"

#include <cstdio>

namespace {

// Work that grew with the square of the length would be thousands of times
// the floor at 100k, while reading markup does far more for each character
// than the floor's vectorised encoding: a hundred times it, at every size.
constexpr double TargetRatio = 100;

} // namespace

int main(int argc, char **argv)
{
    const int bytes = benchSize(argc, argv);
    const QString unit = QString::fromUtf8("<b>Gr\u00FC\u00DFe</b> <font color=#FF0000>\U0001F3B5 &amp; "
                                           "<i>q\u0301</i></font> < x<br>");
    const QString html = unit.repeated(std::max<qsizetype>(1, bytes / unit.toUtf8().size()));
    const QString irc = IrcFromChatMarkup(html);
    // What a stranger may send to make work grow faster than the line.
    const qsizetype n = html.size();
    const QString openings(n, u'<');
    const QString fonts = QString("<font color=red>x").repeated(n / 17);
    const QString grapheme = u'a' + QString(n, u'\u0301');

    // What each step made, kept so that no step is left out as unused.
    qsizetype made = 0;
    const double floor = medianOwnMilliseconds([&] { made += html.toUtf8().size(); });
    const struct {
        const char *what;
        std::function<void()> work;
    } cases[] = {
        {"IrcFromChatMarkup", [&] { made += IrcFromChatMarkup(html).size(); }},
        {"StripIrcFormatting", [&] { made += StripIrcFormatting(irc).size(); }},
        {"ChatMarkupFromIrc", [&] { made += ChatMarkupFromIrc(irc).size(); }},
        {"SplitIrcText 510 bytes", [&] { made += SplitIrcText(irc, 510).size(); }},
        {"SplitIrcText 8 bytes", [&] { made += SplitIrcText(irc, 8).size(); }},
        {"only '<'", [&] { made += IrcFromChatMarkup(openings).size(); }},
        {"only font tags", [&] { made += IrcFromChatMarkup(fonts).size(); }},
        {"one grapheme, 510 bytes", [&] { made += SplitIrcText(grapheme, 510).size(); }},
    };
    std::printf("bench_ircformat: %lld characters of markup, %lld of IRC text\n", qlonglong(html.size()),
                qlonglong(irc.size()));
    for (const auto &c : cases)
        printAgainstFloor(c.what, medianOwnMilliseconds(c.work), floor, "UTF-8 encoding", TargetRatio);
    return benchDone(made > 0);
}
