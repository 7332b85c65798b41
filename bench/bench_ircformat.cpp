// IRC formatting of a 1 MB line, each way, and its cutting into lines a
// server takes: every step must grow with the line's length alone (target:
// well under a second each in a debug build with sanitizers). The floor is
// one UTF-8 encoding of the same text. Usage: bench_ircformat [megabytes]
#include "platform/irc/ircformat.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <cstdio>
#include <functional>

namespace {

double milliseconds(const std::function<qsizetype()> &work, qsizetype &size)
{
    QElapsedTimer timer;
    timer.start();
    size = work();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    const int megabytes = argc > 1 ? QByteArray(argv[1]).toInt() : 1;
    const QString unit = QString::fromUtf8("<b>Gr\u00FC\u00DFe</b> <font color=#FF0000>\U0001F3B5 &amp; "
                                           "<i>q\u0301</i></font> < x<br>");
    const QString html = unit.repeated(megabytes * (1 << 20) / unit.toUtf8().size());
    const QString irc = IrcFromChatMarkup(html);
    // What a stranger may send to make work grow faster than the line.
    const qsizetype n = html.size();
    const QString openings(n, u'<');
    const QString fonts = QString("<font color=red>x").repeated(n / 17);
    const QString grapheme = u'a' + QString(n, u'\u0301');

    const struct {
        const char *what;
        std::function<qsizetype()> work;
    } cases[] = {
        {"floor: UTF-8 encoding", [&] { return html.toUtf8().size(); }},
        {"IrcFromChatMarkup", [&] { return IrcFromChatMarkup(html).size(); }},
        {"StripIrcFormatting", [&] { return StripIrcFormatting(irc).size(); }},
        {"ChatMarkupFromIrc", [&] { return ChatMarkupFromIrc(irc).size(); }},
        {"SplitIrcText 510 bytes", [&] { return SplitIrcText(irc, 510).size(); }},
        {"SplitIrcText 8 bytes", [&] { return SplitIrcText(irc, 8).size(); }},
        {"only '<'", [&] { return IrcFromChatMarkup(openings).size(); }},
        {"only font tags", [&] { return IrcFromChatMarkup(fonts).size(); }},
        {"one grapheme, 510 bytes", [&] { return SplitIrcText(grapheme, 510).size(); }},
    };
    std::printf("input: %lld characters of markup, %lld of IRC text\n", qlonglong(html.size()), qlonglong(irc.size()));
    for (const auto &c : cases) {
        qsizetype size = 0;
        const double ms = milliseconds(c.work, size);
        std::printf("%-24s %9.1f ms  (%lld)\n", c.what, ms, qlonglong(size));
    }
    std::printf("target: well under 1000 ms each\n");
    return 0;
}
