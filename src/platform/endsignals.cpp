#include "platform/endsignals.h"

#include "platform/programend.h"

#include <QSocketNotifier>
#include <QString>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};
std::function<void(int, const QString &)> takeWayOut;

void noteSignal(int signal)
{
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    // A full pipe already holds a signal to act on.
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &number, 1);
    errno = savedErrno;
}

QString reasonFor(int signal)
{
    switch (signal) {
    case SIGTERM:
        return QStringLiteral("terminated");
    case SIGINT:
        return QStringLiteral("interrupted");
    default:
        return QStringLiteral("hung up");
    }
}

void takeSignal()
{
    unsigned char number = 0;
    if (read(signalPipe[0], &number, 1) != 1)
        return;
    // Shells report a program ended by a signal as 128 + its number.
    const int status = 128 + number;
    if (ProgramLeaving()) {
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(status);
    }
    takeWayOut(status, reasonFor(number));
}

} // namespace

void EndProgramOnSignals(std::function<void(int exitStatus, const QString &reason)> wayOut)
{
    if (signalPipe[0] >= 0 || pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    takeWayOut = std::move(wayOut);
    // Lives as long as the program.
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { takeSignal(); });
    struct sigaction action = {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}
