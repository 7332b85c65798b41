// What the user types into an IRC room: a line said exactly as typed, or,
// when it begins with "/", a client command as IRC clients take them. A
// command not known here is never sent, so a mistyped one cannot say a
// password in the channel.
#pragma once

#include <QString>
#include <optional>

class IrcSession;

struct TypedLineOutcome {
    // Why nothing was sent, for the user; "" when it went.
    QString refusal;
    // /quit: the session has left the network with this reason.
    std::optional<QString> quitReason;
};

TypedLineOutcome PostTypedLine(IrcSession &session, const QString &typed);
