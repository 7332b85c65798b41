#include "platform/irc/ircmessage.h"

#include "platform/legacytext.h"

#include <algorithm>

namespace {

// message-tags: the five escapes; a lone trailing backslash is dropped and
// any other escaped character stands for itself.
QString unescapeTagValue(QStringView value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size())
            break;
        switch (value[i].unicode()) {
        case ':': out += u';'; break;
        case 's': out += u' '; break;
        case '\\': out += u'\\'; break;
        case 'r': out += u'\r'; break;
        case 'n': out += u'\n'; break;
        default: out += value[i];
        }
    }
    return out;
}

// The next word up to a blank; several blanks count as one separator. The
// blank is one byte in UTF-8 and in Windows-1252 alike, and never part of
// a longer character.
QByteArrayView takeWord(QByteArrayView &rest)
{
    qsizetype blank = rest.indexOf(' ');
    QByteArrayView word = blank < 0 ? rest : rest.first(blank);
    rest = blank < 0 ? QByteArrayView() : rest.sliced(blank + 1);
    while (rest.startsWith(' '))
        rest = rest.sliced(1);
    return word;
}

// Each part on its own: a client that sends Windows-1252 text to a
// channel whose name is UTF-8 still names that channel.
QString decoded(QByteArrayView bytes)
{
    return decodeUtf8OrWindows1252(bytes).text;
}

bool breaksLine(QChar c)
{
    return c == u'\r' || c == u'\n' || c == u'\0';
}

// Letters, or a numeric's three digits. Anything else is no command: a word
// starting with '@' or ':' would read back as tags or a source.
template <typename Text>
bool isCommand(const Text &word)
{
    const auto letter = [](auto c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    const auto digit = [](auto c) { return c >= u'0' && c <= u'9'; };
    return (!word.isEmpty() && std::all_of(word.begin(), word.end(), letter))
           || (word.size() == 3 && std::all_of(word.begin(), word.end(), digit));
}

} // namespace

QString IrcMessage::nick() const
{
    qsizetype end = source.indexOf(u'!');
    if (end < 0)
        end = source.indexOf(u'@');
    return end < 0 ? source : source.left(end);
}

std::optional<QString> IrcMessage::tag(const QString &key) const
{
    for (const auto &[name, value] : tags)
        if (name == key)
            return value;
    return std::nullopt;
}

std::optional<IrcMessage> ParseIrcMessage(const QByteArray &line)
{
    QByteArrayView rest(line);
    while (rest.startsWith(' '))
        rest = rest.sliced(1);
    IrcMessage message;
    if (rest.startsWith('@')) {
        const QString tags = decoded(takeWord(rest).sliced(1));
        for (QStringView tag : QStringView(tags).split(u';', Qt::SkipEmptyParts)) {
            qsizetype equals = tag.indexOf(u'=');
            QString key = (equals < 0 ? tag : tag.left(equals)).toString();
            QString value = equals < 0 ? QString() : unescapeTagValue(tag.mid(equals + 1));
            // A key given twice: the last one counts.
            std::erase_if(message.tags, [&](const auto &t) { return t.first == key; });
            message.tags.emplace_back(std::move(key), std::move(value));
        }
    }
    if (rest.startsWith(':'))
        message.source = decoded(takeWord(rest).sliced(1));
    const QByteArrayView command = takeWord(rest);
    if (!isCommand(command))
        return std::nullopt;
    message.command = QString::fromLatin1(command).toUpper();
    while (!rest.isEmpty()) {
        if (rest.startsWith(':')) {
            message.params.append(decoded(rest.sliced(1)));
            break;
        }
        message.params.append(decoded(takeWord(rest)));
    }
    return message;
}

std::optional<QByteArray> IrcLine(const QString &command, const QStringList &params)
{
    if (!isCommand(command))
        return std::nullopt;
    QString line = command;
    for (qsizetype i = 0; i < params.size(); ++i) {
        const QString &param = params[i];
        if (std::any_of(param.begin(), param.end(), breaksLine))
            return std::nullopt;
        const bool last = i == params.size() - 1;
        const bool plain = !param.isEmpty() && !param.contains(u' ') && !param.startsWith(u':');
        if (!last && !plain)
            return std::nullopt;
        line += (plain ? QStringLiteral(" ") : QStringLiteral(" :")) + param;
    }
    return line.toUtf8();
}
