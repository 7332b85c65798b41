// How soon the player answers on a real IRC network: from a participant's
// ".mp3s?" to the player's reply reaching that participant, through an
// inspircd on loopback, on the wall clock (three processes take part).
//
// The player paces what it sends as it always does: a burst of five lines,
// then one every two seconds. A command comes every two seconds, as one
// might in a room, so each reply is the first line of its burst, which the
// pacer sends at once; a reply it holds back is held by design and is not
// what this times.
//
// The floor, measured between those commands: a raw relay, one line said
// by one bare client and reaching another through the same server. The two
// share a channel of their own, since the player, which runs on this
// thread, would otherwise take that line too while it is timed. Each line
// and each command comes after the same second of quiet: what is timed
// first after a pause also pays for waking the server and this thread.
//
// Targets: a median under 10 ms, and the median and the slowest within 6
// times the relay's: the reply crosses the server twice, and the player may
// take as long again as the server on each crossing.
#include "app/mainwindow.h"
#include "figures.h"
#include "platform/irc/ircpacer.h"
#include "platform/irc/ircroom.h"
#include "platform/irc/ircsession.h"
#include "support/ircservers.h"
#include "support/rawircclient.h"
#include "support/world.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int commands = 20;
constexpr double RelayRatio = 6;
const QString channel = QStringLiteral("#bench");
const QString relayChannel = QStringLiteral("#relay");

// Milliseconds from `say` until `listener` has a line from `from` holding
// `part`. The wait sleeps in the event loop until something arrives, so the
// time is not rounded up to a poll's sleep.
double lineMs(const std::function<void()> &say, RawIrcClient &listener, const QByteArray &from,
              const QByteArray &part)
{
    const auto match = [&](const QByteArray &line) { return line.startsWith(from) && line.contains(part); };
    bool late = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&late] { late = true; });
    deadline.start(10000);
    QElapsedTimer clock;
    clock.start();
    say();
    while (listener.waitFor(match, 0).isEmpty()) {
        if (late) {
            std::fprintf(stderr, "bench_ircreply: nothing from %s holding \"%s\"\n", from.constData(),
                         part.constData());
            std::exit(1);
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return clock.nsecsElapsed() / 1e6;
}

struct Figures {
    double median = 0;
    double slowest = 0;
};

Figures figures(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
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
    RawIrcClient relay(server, {.nick = "relay"});
    if (!owner.signOn() || !owner.join(channel) || !owner.join(relayChannel) || !relay.signOn()
        || !relay.join(relayChannel))
        return 1;

    TestWorld world("owner");
    world.writePreferences(world.musicDir(), "Ann");
    if (QFile track(world.musicDir() + "/alpha.mp3"); !track.open(QIODevice::WriteOnly))
        return 1;
    world.client().closeRoom(world.room());
    IrcSession session({server.host(), server.port(), false}, {"player"}, channel);
    IrcRoom room(world.client(), session, {"owner", {}});
    world.start();
    session.start();
    if (!QTest::qWaitFor([&] { return session.inChannel(); }, 30000)) {
        std::fprintf(stderr, "bench_ircreply: the player did not join: %s\n", qPrintable(session.status()));
        return 1;
    }
    // Signing on spent the pacer's burst, and its last lines leave within a
    // step of joining; then its timer runs at most AheadMs ahead.
    QTest::qWait(IrcPacer::StepMs + IrcPacer::AheadMs);

    std::vector<double> relayed, replied;
    // Each reply moves the pacer's timer a step: past it, the next reply is
    // again the first of a burst.
    const int quietMs = IrcPacer::StepMs / 2;
    for (int i = 0; i < commands; ++i) {
        const QByteArray line = "relayed line " + QByteArray::number(i);
        QTest::qWait(quietMs);
        relayed.push_back(lineMs([&] { relay.say(relayChannel, line); }, owner, ":relay!", line));
        QTest::qWait(quietMs);
        replied.push_back(lineMs([&] { owner.say(channel, ".mp3s?"); }, owner, ":player!", "mp3 count"));
    }

    const Figures floor = figures(relayed), player = figures(replied);
    std::printf("bench_ircreply: from a participant's .mp3s? to the reply reaching it, %d commands, one every %lld ms;"
                " paced as the program runs, each reply the first of its burst, which is not held back\n",
                commands, qlonglong(2 * quietMs));
    printAgainstFloor("the player's reply, median", player.median, floor.median, "a raw relay", RelayRatio);
    printAgainstFloor("the player's reply, slowest", player.slowest, floor.slowest, "a raw relay", RelayRatio);
    printUnder("the player's reply, median", player.median, 10);
    return benchDone();
}
