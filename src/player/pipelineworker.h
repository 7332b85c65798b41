// Makes a pipeline's state changes, in the order they are asked for, on a
// thread of its own. Opening a file, and stopping the threads that read
// it, can hang for as long as the file system does not answer (a network
// or FUSE mount gone quiet); here that holds this thread, never the
// window thread. A worker that hangs is let go: it finishes, stops the
// pipeline and frees it whenever the file system answers, or never.
#pragma once

#include <QtGlobal>
#include <functional>
#include <memory>
#include <thread>

typedef struct _GstElement GstElement;

class PipelineWorker
{
public:
    using Job = std::function<void(GstElement *pipeline)>;

    // Holds a reference of its own to the pipeline until the pipeline is
    // back in NULL.
    explicit PipelineWorker(GstElement *pipeline);
    // Waits a little for the pipeline to stop, then lets the worker go.
    ~PipelineWorker();
    PipelineWorker(const PipelineWorker &) = delete;
    PipelineWorker &operator=(const PipelineWorker &) = delete;

    // Numbered from 1, in the order they run.
    quint64 run(Job job);
    // The last job done; the one after it is under way, if any was asked for.
    quint64 doneThrough() const;
    // Whether a job has been under way for longer than this.
    bool busyLongerThan(int milliseconds) const;
    // The pipeline is no longer wanted; nothing waits for it to stop.
    void abandon();
    // How many abandoned workers have not finished yet: each holds a thread
    // and a pipeline for as long as its file system keeps it waiting.
    static int leftBehind();

private:
    struct Queue;
    std::shared_ptr<Queue> m_queue;
    std::thread m_thread;
    quint64 m_asked = 0;
};
