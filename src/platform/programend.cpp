#include "platform/programend.h"

#include "platform/nestedloop.h"

#include <QEventLoop>
#include <cstdio>
#include <cstdlib>

namespace {

std::function<void()> &hook()
{
    static std::function<void()> replacement;
    return replacement;
}

ProgramFarewell &farewell()
{
    static ProgramFarewell taker;
    return taker;
}

bool leaving = false;

// Runs the farewell in a wait that lets the link write and read, but gives
// no line to the commands (the gate is shut, as in a loop about to return):
// the program ends, so nothing more is done.
void takeLeave(const QString &reason)
{
    QEventLoop loop;
    bool done = false;
    farewell()(reason, [&done, &loop] {
        done = true;
        loop.quit();
    });
    if (done)
        return;
    NestedLoop nested;
    nested.ending();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

void EndProgramNow(int exitStatus, const QString &reason)
{
    // The farewell under way ends the program when it is done.
    if (leaving)
        return;
    if (farewell()) {
        leaving = true;
        takeLeave(reason);
        leaving = false;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    if (hook()) {
        hook()();
        return;
    }
    // _Exit: no destructors, no atexit handlers, no event handlers run.
    std::_Exit(exitStatus);
}

void setProgramEndHook(std::function<void()> replacement)
{
    hook() = std::move(replacement);
}

void setProgramFarewell(ProgramFarewell taker)
{
    farewell() = std::move(taker);
}

bool ProgramLeaving()
{
    return leaving;
}
