// The program as a user runs it on a real IRC network, for the tests: what
// a participant reads of the player's announcements.
#pragma once

#include "chat/announcement.h"
#include "platform/irc/ircformat.h"
#include "support/ircservers.h"
#include "support/program.h"
#include "support/rawircclient.h"

#include <QTemporaryDir>

inline QByteArray inIrc(const QString &message)
{
    return IrcFromChatMarkup(StylePieces::initial().styledLine(message)).toUtf8();
}

// Waits for the player's line in the channel, as a participant reads it.
inline bool heard(RawIrcClient &participant, const QByteArray &text, int timeoutMs = 15000)
{
    return participant.waitFor([&](const QByteArray &line) { return line.endsWith("PRIVMSG #music :" + text); },
                               timeoutMs)
        .contains(":ceo-player!");
}

// Signs the participant on and into #music.
inline bool inMusic(RawIrcClient &participant)
{
    return participant.signOn() && participant.join("#music");
}

// "song 01", "song 02", ...: the names a search for "song" finds, in order.
inline QStringList songs(int count, int width = 2)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names.append(QStringLiteral("song %1").arg(i, width, 10, QChar('0')));
    return names;
}

// A server of its own and a home that is the music directory: where each
// test of the player on a network starts.
struct IrcStage {
    explicit IrcStage(TestIrcServer::Kind kind) : server(kind) {}

    bool start(const QStringList &tracks = {"alpha"}, bool withServices = true)
    {
        fillHome(home.path(), tracks);
        return !QTest::currentTestFailed() && server.start(withServices);
    }
    // By default a player for someone else: "ceo-player", commanded by boss.
    Program player(const QStringList &arguments = {"--screen-name", "ceo-player", "--owner", "boss"},
                   const QStringList &environment = {})
    {
        const QString channel = QStringLiteral("irc://127.0.0.1:%1/#music").arg(server.port());
        return Program(home.path(), arguments + QStringList{"--irc", channel}, environment);
    }

    TestIrcServer server;
    QTemporaryDir home;
};
