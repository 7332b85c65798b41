#include "platform/programend.h"

#include <cstdio>
#include <cstdlib>

namespace {

std::function<void()> &hook()
{
    static std::function<void()> replacement;
    return replacement;
}

} // namespace

void EndProgramNow(int exitStatus)
{
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
