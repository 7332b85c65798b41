#include "player/pipelineworker.h"

#include <gst/gst.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

namespace {

// Long enough for a pipeline that answers to stop at the end of the
// program; a hung one is left behind rather than waited for.
constexpr auto stopGrace = std::chrono::seconds(2);

std::atomic<int> stillLeftBehind{0};

qint64 nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

struct PipelineWorker::Queue {
    explicit Queue(GstElement *pipeline)
        : pipeline(GST_ELEMENT(gst_object_ref(pipeline)))
    {
    }

    void work()
    {
        for (;;) {
            Job job;
            {
                std::unique_lock held(lock);
                changed.wait(held, [this] { return closing || !jobs.empty(); });
                // What was still asked for is no longer wanted.
                if (closing)
                    break;
                job = std::move(jobs.front());
                jobs.pop_front();
                busySince = nowMs();
            }
            job(pipeline);
            busySince = -1;
            ++done;
        }
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(pipeline);
        if (abandoned)
            --stillLeftBehind;
        {
            const std::lock_guard held(lock);
            finished = true;
        }
        changed.notify_all();
    }

    GstElement *const pipeline; // ours until it is back in NULL
    std::mutex lock;
    std::condition_variable changed;
    std::deque<Job> jobs;   // guarded by lock
    bool closing = false;   // guarded by lock
    bool finished = false;  // guarded by lock
    std::atomic<bool> abandoned{false}; // set before closing
    std::atomic<quint64> done{0};
    std::atomic<qint64> busySince{-1}; // when the job under way began
};

PipelineWorker::PipelineWorker(GstElement *pipeline)
    : m_queue(std::make_shared<Queue>(pipeline))
    , m_thread([queue = m_queue] { queue->work(); })
{
}

PipelineWorker::~PipelineWorker()
{
    {
        const std::lock_guard held(m_queue->lock);
        m_queue->closing = true;
    }
    m_queue->changed.notify_all();
    bool finished = false;
    if (!m_queue->abandoned) {
        std::unique_lock held(m_queue->lock);
        finished = m_queue->changed.wait_for(held, stopGrace, [this] { return m_queue->finished; });
    }
    // The thread keeps the queue, and with it the pipeline, for as long as
    // it needs them.
    if (finished)
        m_thread.join();
    else
        m_thread.detach();
}

quint64 PipelineWorker::run(Job job)
{
    {
        const std::lock_guard held(m_queue->lock);
        m_queue->jobs.push_back(std::move(job));
    }
    m_queue->changed.notify_all();
    return ++m_asked;
}

quint64 PipelineWorker::doneThrough() const
{
    return m_queue->done;
}

bool PipelineWorker::busyLongerThan(int milliseconds) const
{
    const qint64 since = m_queue->busySince;
    return since >= 0 && nowMs() - since > milliseconds;
}

void PipelineWorker::abandon()
{
    if (!m_queue->abandoned.exchange(true))
        ++stillLeftBehind;
}

int PipelineWorker::leftBehind()
{
    return stillLeftBehind;
}
