// How soon the player answers on a real IRC network: from a participant's
// ".mp3s?" to the player's reply reaching that participant, through an
// inspircd on loopback, with the player's pacing out of the way, on the wall
// clock (three processes take part). Median and 99th percentile over 100
// commands. The floor, measured in the same run: the same round trip with a
// bare client answering instead of the player. Target: a median within 3
// times the floor. A size means nothing here; one given
// is ignored.
#include "app/mainwindow.h"
#include "figures.h"
#include "platform/irc/ircroom.h"
#include "platform/irc/ircsession.h"
#include "support/ircservers.h"
#include "support/rawircclient.h"
#include "support/world.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int commands = 100;
const QString channel = QStringLiteral("#bench");

struct Figures {
    double median = 0;
    double p99 = 0;
};

// Round trips in milliseconds: `ask` says a line, `answered` waits for the reply.
Figures measure(const std::function<void(int)> &ask, const std::function<bool()> &answered)
{
    std::vector<double> times;
    for (int i = 0; i < commands; ++i) {
        QElapsedTimer clock;
        clock.start();
        ask(i);
        if (!answered()) {
            std::fprintf(stderr, "bench_ircreply: no answer to command %d\n", i);
            std::exit(1);
        }
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[times.size() * 99 / 100]};
}

bool reply(RawIrcClient &participant, const QByteArray &from, const QByteArray &part)
{
    return !participant.waitFor([&](const QByteArray &line) { return line.startsWith(from) && line.contains(part); })
                .isEmpty();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestIrcServer server(TestIrcServer::Kind::Inspircd);
    if (!server.start())
        return 1;

    RawIrcClient owner(server, {.nick = "owner"});
    RawIrcClient echo(server, {.nick = "echo"});
    if (!owner.signOn() || !owner.join(channel) || !echo.signOn() || !echo.join(channel))
        return 1;
    const Figures floor = measure([&](int) { owner.say(channel, ".mp3s?"); },
                                  [&] {
                                      if (!reply(echo, ":owner!", ".mp3s?"))
                                          return false;
                                      echo.say(channel, "mp3 count 1");
                                      return reply(owner, ":echo!", "mp3 count");
                                  });

    TestWorld world("owner");
    world.writePreferences(world.musicDir(), "Ann");
    if (QFile track(world.musicDir() + "/alpha.mp3"); !track.open(QIODevice::WriteOnly))
        return 1;
    world.client().closeRoom(world.room());
    IrcSession session({server.host(), server.port(), false}, {"player"}, channel);
    IrcTimings timings;
    timings.paceStepMs = 0;
    session.setTimings(timings);
    IrcRoom room(world.client(), session, {"owner", {}});
    world.start();
    world.settle();
    session.start();
    if (!QTest::qWaitFor([&] { return session.inChannel(); }, 20000)) {
        std::fprintf(stderr, "bench_ircreply: the player did not join: %s\n", qPrintable(session.status()));
        return 1;
    }
    const Figures player = measure([&](int) { owner.say(channel, ".mp3s?"); },
                                   [&] { return reply(owner, ":player!", "mp3 count"); });

    std::printf("bench_ircreply: from a participant's .mp3s? to the reply reaching it, %d commands\n", commands);
    printAgainstFloor("the player's reply, median", player.median, floor.median, "a bare client's", 3);
    printAgainstFloor("the player's reply, 99th percentile", player.p99, floor.p99, "a bare client's", 3);
    return benchDone();
}
