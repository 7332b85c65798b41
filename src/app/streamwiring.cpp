#include "app/streamwiring.h"

#include "app/environment.h"
#include "app/programcore.h"
#include "platform/chatclient.h"
#include "player/playerstate.h"
#include "player/streamsender.h"
#include "player/trackname.h"

#include <cstdio>
#include <memory>

namespace {

void tellUser(ChatClient &client, const QString &text)
{
    std::fprintf(stderr, "dun2: %s\n", qPrintable(text));
    if (const WindowHandle room = client.currentRoom())
        client.notify(room, text);
}

} // namespace

void ConnectStream(StreamSender &stream, ProgramCore &program)
{
    ChatClient &client = program.environment().chatClient;
    QObject::connect(&program.environment().playerState, &PlayerState::trackChanged, &stream,
                     [&stream](const QString &fileName) { stream.setTitle(TrackName(fileName)); });

    const auto listenAt = [&program, url = stream.listenUrl().toString().toHtmlEscaped()] {
        program.announcer.announce("<b>listen</b> at " + url);
    };
    auto lastTold = std::make_shared<QString>();
    QObject::connect(&stream, &StreamSender::wentDown, &stream, [&client, lastTold](const QString &why) {
        const QString text = "the stream is down, trying again: " + why;
        if (text != *lastTold)
            tellUser(client, *lastTold = text);
    });
    QObject::connect(&stream, &StreamSender::wentLive, &stream, [&client, &stream, lastTold, listenAt](bool first) {
        if (!lastTold->isEmpty()) {
            lastTold->clear();
            tellUser(client, QString(first ? "the stream is live at " : "the stream is live again at ")
                                 + stream.listenUrl().toString());
        }
        if (!first)
            return;
        // On a network the room opens only once the channel is joined: until
        // then the line would reach nobody.
        if (client.currentRoom())
            return listenAt();
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = QObject::connect(&client, &ChatClient::roomOpened, &client, [once, listenAt] {
            QObject::disconnect(*once);
            listenAt();
        });
    });
}
