// The program as a user runs it on a real IRC network, for the tests: what
// a participant reads of the player's announcements.
#pragma once

#include "chat/announcement.h"
#include "platform/irc/ircformat.h"
#include "support/ircservers.h"
#include "support/program.h"
#include "support/rawircclient.h"

inline QByteArray inIrc(const QString &message)
{
    return IrcFromChatMarkup(StylePieces::initial().styledLine(message)).toUtf8();
}

// The channel the player joins on `server`.
inline QString music(const TestIrcServer &server)
{
    return QStringLiteral("irc://127.0.0.1:%1/#music").arg(server.port());
}

// Waits for the player's line in the channel, as a participant reads it.
inline bool heard(RawIrcClient &participant, const QByteArray &text, int timeoutMs = 15000)
{
    return participant.waitFor([&](const QByteArray &line) { return line.endsWith("PRIVMSG #music :" + text); },
                               timeoutMs)
        .contains(":ceo-player!");
}
