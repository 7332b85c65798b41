// A server's line parsed, then written again as the client writes its own:
// the written line carries no tags or source, but the same command and
// parameters, and nothing in it starts a second line.
#include "fuzzcheck.h"

#include "platform/irc/ircmessage.h"

#include <algorithm>

namespace {

bool breaksLine(const QString &s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c == u'\r' || c == u'\n' || c == u'\0'; });
}

QString described(const IrcMessage &m)
{
    return "command \"" + m.command + "\", params [" + m.params.join(u'|') + "]";
}

} // namespace

void fuzzIrcMessage(QByteArrayView data)
{
    const std::optional<IrcMessage> message = ParseIrcMessage(QByteArray::fromRawData(data.data(), data.size()));
    if (!message)
        return;
    FUZZ_CHECK(!message->command.isEmpty(), "a message has a command", described(*message));

    // The writer refuses exactly what would break its line.
    const bool breaks =
        breaksLine(message->command) || std::any_of(message->params.begin(), message->params.end(), breaksLine);
    const std::optional<QByteArray> line = IrcLine(message->command, message->params);
    FUZZ_CHECK(line.has_value() != breaks, "the writer refuses only what breaks a line", described(*message));
    if (!line)
        return;
    FUZZ_CHECK(!line->contains('\r') && !line->contains('\n') && !line->contains('\0'), "a written line is one line",
               QString::fromUtf8(*line));

    const std::optional<IrcMessage> again = ParseIrcMessage(*line);
    FUZZ_CHECK(again, "a written line parses", QString::fromUtf8(*line));
    FUZZ_CHECK(again->command == message->command && again->params == message->params && again->tags.empty()
                   && again->source.isEmpty(),
               "a written line parses to the same message",
               QString::fromUtf8(*line) + " read as " + described(*again) + ", first " + described(*message));
}

DUN2_FUZZ_ENTRY(fuzzIrcMessage)
