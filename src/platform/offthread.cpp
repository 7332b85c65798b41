#include "platform/offthread.h"

#include "platform/nestedloop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

// Below this a wait costs the window thread less than a nested loop's
// risks cost its callers; far below what a user notices.
constexpr std::chrono::milliseconds QuickWork{20};

// What the work's thread and the waiting window thread share; whichever is
// last lets it go.
struct Shared {
    std::mutex lock;
    std::condition_variable doneChanged;
    bool done = false;
    // Written once the work is done: a nested loop wakes for it.
    const int doneFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);

    ~Shared()
    {
        if (doneFd >= 0)
            close(doneFd);
    }
    bool isDone()
    {
        const std::lock_guard held(lock);
        return done;
    }
};

} // namespace

bool awaitOffThread(std::function<void()> work)
{
    auto shared = std::make_shared<Shared>();
    if (shared->doneFd < 0) {
        work(); // no way to be woken: done here, as it was always done
        return true;
    }
    std::thread([shared, work = std::move(work)] {
        work();
        {
            const std::lock_guard held(shared->lock);
            shared->done = true;
        }
        shared->doneChanged.notify_all();
        // One write cannot overflow the counter.
        [[maybe_unused]] const int written = eventfd_write(shared->doneFd, 1);
    }).detach();

    {
        std::unique_lock held(shared->lock);
        if (shared->doneChanged.wait_for(held, QuickWork, [&] { return shared->done; }))
            return true;
    }
    const HeldLines lines;
    QEventLoop loop;
    QSocketNotifier woken(shared->doneFd, QSocketNotifier::Read);
    NestedLoop nested;
    QObject::connect(&woken, &QSocketNotifier::activated, &loop, [&] {
        nested.ending();
        loop.quit();
    });
    // The program's end quits the loop too, the work perhaps not done.
    if (!QCoreApplication::closingDown())
        loop.exec();
    return shared->isDone();
}
