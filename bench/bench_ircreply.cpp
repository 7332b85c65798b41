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
// share a channel of their own, since the player would otherwise take that
// line too while it is timed. Each line and each command comes after the
// same second of quiet: what is timed first after a pause also pays for
// waking the server and the threads.
//
// The two bare clients live on a thread of their own and wait for a line
// in a blocking read, woken the moment it comes; the player has the window
// thread to itself, in a plain event loop, as it runs in the program.
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
#include "support/world.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTest>
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int commands = 20;
constexpr double RelayRatio = 6;
const QByteArray channel = "#bench";
const QByteArray relayChannel = "#relay";

// A bare client that knows only registering, joining, PING and PRIVMSG,
// and waits for a line in a blocking read. Any failure ends the run.
class BlockingClient
{
public:
    BlockingClient(const TestIrcServer &server, const QByteArray &nick)
        : m_nick(nick)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(server.port());
        inet_pton(AF_INET, qPrintable(server.host()), &address.sin_addr);
        m_socket = socket(AF_INET, SOCK_STREAM, 0);
        const int on = 1;
        setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        if (m_socket < 0 || connect(m_socket, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
            fail("cannot connect");
        send("NICK " + nick);
        send("USER " + nick + " 0 * :dun2 bench participant");
        waitFor(" 001 ");
    }
    ~BlockingClient() { close(m_socket); }
    BlockingClient(const BlockingClient &) = delete;
    BlockingClient &operator=(const BlockingClient &) = delete;

    void join(const QByteArray &where)
    {
        send("JOIN " + where);
        waitFor(" 366 ");
    }
    void say(const QByteArray &where, const QByteArray &text) { send("PRIVMSG " + where + " :" + text); }

    // Reads until a line holding `part` comes, and returns it.
    QByteArray waitFor(const QByteArray &part, const QByteArray &from = {})
    {
        for (;;) {
            for (qsizetype end; (end = m_buffer.indexOf('\n')) >= 0;) {
                const QByteArray line = m_buffer.left(end).trimmed();
                m_buffer.remove(0, end + 1);
                if (line.startsWith("PING "))
                    send("PONG " + line.mid(5));
                else if (line.startsWith(from) && line.contains(part))
                    return line;
            }
            pollfd readable{m_socket, POLLIN, 0};
            if (poll(&readable, 1, 10000) != 1)
                fail("nothing holding \"" + part + "\"");
            char bytes[4096];
            const ssize_t got = recv(m_socket, bytes, sizeof bytes, 0);
            if (got <= 0)
                fail("the server closed the link");
            m_buffer.append(bytes, got);
        }
    }

private:
    void send(const QByteArray &line)
    {
        const QByteArray whole = line + "\r\n";
        if (::send(m_socket, whole.constData(), std::size_t(whole.size()), MSG_NOSIGNAL) != whole.size())
            fail("cannot send");
    }
    [[noreturn]] void fail(const QByteArray &why) const
    {
        std::fprintf(stderr, "bench_ircreply: %s: %s\n", m_nick.constData(), why.constData());
        std::_Exit(1);
    }

    QByteArray m_nick;
    int m_socket = -1;
    QByteArray m_buffer;
};

// Milliseconds from `say` until `listener` has a line from `from` holding `part`.
double lineMs(const std::function<void()> &say, BlockingClient &listener, const QByteArray &from,
              const QByteArray &part)
{
    QElapsedTimer clock;
    clock.start();
    say();
    listener.waitFor(part, from);
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

    // Each reply moves the pacer's timer a step: past it, the next reply is
    // again the first of a burst.
    const int quietMs = IrcPacer::StepMs / 2;
    std::atomic<bool> joined = false, playerIn = false;
    std::vector<double> relayed, replied;
    QEventLoop measuring;
    std::thread participants([&] {
        BlockingClient owner(server, "owner");
        BlockingClient relay(server, "relay");
        owner.join(channel);
        owner.join(relayChannel);
        relay.join(relayChannel);
        joined = true;
        while (!playerIn)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        for (int i = 0; i < commands; ++i) {
            const QByteArray line = "relayed line " + QByteArray::number(i);
            std::this_thread::sleep_for(std::chrono::milliseconds(quietMs));
            relayed.push_back(lineMs([&] { relay.say(relayChannel, line); }, owner, ":relay!", line));
            std::this_thread::sleep_for(std::chrono::milliseconds(quietMs));
            replied.push_back(lineMs([&] { owner.say(channel, ".mp3s?"); }, owner, ":player!", "mp3 count"));
        }
        QMetaObject::invokeMethod(&measuring, &QEventLoop::quit, Qt::QueuedConnection);
    });

    TestWorld world("owner");
    world.writePreferences(world.musicDir(), "Ann");
    if (QFile track(world.musicDir() + "/alpha.mp3"); !track.open(QIODevice::WriteOnly))
        return 1;
    world.client().closeRoom(world.room());
    IrcSession session({server.host(), server.port(), false}, {"player"}, QString::fromLatin1(channel));
    IrcRoom room(world.client(), session, {"owner", {}});
    world.start();
    // The owner is in the channel before the player comes.
    if (!QTest::qWaitFor([&] { return joined.load(); }, 30000)) {
        std::fprintf(stderr, "bench_ircreply: the participants did not join\n");
        std::_Exit(1);
    }
    session.start();
    if (!QTest::qWaitFor([&] { return session.inChannel(); }, 30000)) {
        std::fprintf(stderr, "bench_ircreply: the player did not join: %s\n", qPrintable(session.status()));
        std::_Exit(1);
    }
    // Signing on spent the pacer's burst, and its last lines leave within a
    // step of joining; then its timer runs at most AheadMs ahead.
    QTest::qWait(IrcPacer::StepMs + IrcPacer::AheadMs);
    playerIn = true;
    measuring.exec();
    participants.join();

    const Figures floor = figures(relayed), player = figures(replied);
    std::printf("bench_ircreply: from a participant's .mp3s? to the reply reaching it, %d commands, one every %lld ms;"
                " paced as the program runs, each reply the first of its burst, which is not held back\n",
                commands, qlonglong(2 * quietMs));
    printAgainstFloor("the player's reply, median", player.median, floor.median, "a raw relay", RelayRatio);
    printAgainstFloor("the player's reply, slowest", player.slowest, floor.slowest, "a raw relay", RelayRatio);
    printUnder("the player's reply, median", player.median, 10);
    return benchDone();
}
