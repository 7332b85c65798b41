#include "platform/irc/irctypedline.h"

#include "platform/irc/ircsession.h"

#include <algorithm>
#include <array>

namespace {

struct Command {
    QStringView name;
    // Shown when the arguments it needs are missing.
    QStringView usage;
    // Needs a first word before its text.
    bool targeted;
    // Needs text (after the target, if any).
    bool needsText;
    bool (*run)(IrcSession &, const QString &target, const QString &text);
};

constexpr QStringView Commands = u"/me, /msg, /notice, /nick, /topic, /quit, and //TEXT to say /TEXT";

const std::array<Command, 6> Table{{
    {u"me", u"/me ACTION", false, true,
     [](IrcSession &s, const QString &, const QString &text) { return s.act(text, PostPriority::Typed); }},
    {u"msg", u"/msg NICK TEXT", true, true,
     [](IrcSession &s, const QString &nick, const QString &text) { return s.tell(QStringLiteral("PRIVMSG"), nick, text); }},
    {u"notice", u"/notice NICK TEXT", true, true,
     [](IrcSession &s, const QString &nick, const QString &text) { return s.tell(QStringLiteral("NOTICE"), nick, text); }},
    {u"nick", u"/nick NEWNICK", true, false,
     [](IrcSession &s, const QString &nick, const QString &) { return s.changeNick(nick); }},
    {u"topic", u"/topic [TEXT]", false, false,
     [](IrcSession &s, const QString &, const QString &text) {
         return s.topic(text.isEmpty() ? std::nullopt : std::optional<QString>(text));
     }},
    {u"quit", u"/quit [REASON]", false, false, nullptr},
}};

} // namespace

TypedLineOutcome PostTypedLine(IrcSession &session, const QString &typed)
{
    if (!typed.startsWith(u'/') || typed.startsWith(u"//")) {
        const QString line = typed.startsWith(u'/') ? typed.mid(1) : typed;
        return {session.say(line, PostPriority::Typed) ? QString() : QStringLiteral("\"%1\" was not sent").arg(line.left(80)), {}};
    }
    const qsizetype blank = typed.indexOf(u' ');
    const QString word = typed.mid(1, blank < 0 ? -1 : blank - 1);
    QString rest = blank < 0 ? QString() : typed.mid(blank + 1);
    const auto command = std::find_if(Table.begin(), Table.end(),
                                      [&](const Command &c) { return word.compare(c.name, Qt::CaseInsensitive) == 0; });
    if (command == Table.end())
        return {QStringLiteral("/%1 is not a command here (there are %2); nothing was sent")
                    .arg(word.left(30), Commands),
                {}};
    if (!command->run) {
        session.stop(rest);
        return {{}, rest};
    }
    QString target;
    if (command->targeted) {
        const qsizetype end = rest.indexOf(u' ');
        target = rest.left(end);
        rest = end < 0 ? QString() : rest.mid(end + 1);
    }
    if ((command->targeted && target.isEmpty()) || (command->needsText && rest.isEmpty()))
        return {QStringLiteral("nothing was sent; say it as %1").arg(command->usage), {}};
    if (!command->run(session, target, rest))
        return {QStringLiteral("/%1 %2 could not be sent").arg(command->name, target), {}};
    return {};
}
