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

// The next word up to a blank; several blanks count as one separator.
QStringView takeWord(QStringView &rest)
{
    qsizetype blank = rest.indexOf(u' ');
    QStringView word = blank < 0 ? rest : rest.left(blank);
    rest = blank < 0 ? QStringView() : rest.mid(blank + 1);
    while (rest.startsWith(u' '))
        rest = rest.mid(1);
    return word;
}

bool breaksLine(QChar c)
{
    return c == u'\r' || c == u'\n' || c == u'\0';
}

// Letters, or a numeric's three digits. Anything else is no command: a word
// starting with '@' or ':' would read back as tags or a source.
bool isCommand(QStringView word)
{
    const auto letter = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
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
    const QString text = decodeUtf8OrWindows1252(line).text;
    QStringView rest(text);
    while (rest.startsWith(u' '))
        rest = rest.mid(1);
    IrcMessage message;
    if (rest.startsWith(u'@')) {
        QStringView tags = takeWord(rest).mid(1);
        for (QStringView tag : tags.split(u';', Qt::SkipEmptyParts)) {
            qsizetype equals = tag.indexOf(u'=');
            QString key = (equals < 0 ? tag : tag.left(equals)).toString();
            QString value = equals < 0 ? QString() : unescapeTagValue(tag.mid(equals + 1));
            // A key given twice: the last one counts.
            std::erase_if(message.tags, [&](const auto &t) { return t.first == key; });
            message.tags.emplace_back(std::move(key), std::move(value));
        }
    }
    if (rest.startsWith(u':'))
        message.source = takeWord(rest).mid(1).toString();
    const QStringView command = takeWord(rest);
    if (!isCommand(command))
        return std::nullopt;
    message.command = command.toString().toUpper();
    while (!rest.isEmpty()) {
        if (rest.startsWith(u':')) {
            message.params.append(rest.mid(1).toString());
            break;
        }
        message.params.append(takeWord(rest).toString());
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
