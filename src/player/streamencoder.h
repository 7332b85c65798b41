// The stream's sound as MP3 at a fixed bitrate: a pipeline of its own that
// reads what the player sends into an in-process channel, and silence while
// nothing comes (between tracks, paused, stopped), so the stream never
// pauses. Encoded frames wait here, a few seconds' worth at most, for the
// sender to take them once a period is encoded; nothing here waits on the
// network.
#pragma once

#include "player/gsthandle.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <atomic>
#include <deque>
#include <mutex>

typedef struct _GstBus GstBus;
class QSocketNotifier;

class StreamEncoder : public QObject
{
    Q_OBJECT

public:
    // MP3, because every player plays it and Icecast shows listeners its title.
    static constexpr int Kbps = 128;
    // How much sound is encoded at a time, and so how often frames are ready.
    // Each wake-up costs, and lame encodes half a second at a time for about
    // two thirds of what a tenth at a time costs it, its tables still in the
    // cache from one frame to the next; a listener's player buffers longer
    // than that anyway.
    static constexpr int PeriodMs = 500;

    explicit StreamEncoder(QObject *parent = nullptr);
    ~StreamEncoder() override;

    // What the player sends into (MediaPlayer::alsoSendTo), one for each
    // pipeline it plays in; floating.
    GstElement *makeInlet();
    // Starts encoding; why it can't, or "".
    QString start();
    // Frames are kept only while they are taken; those not taken in time
    // are dropped, oldest first.
    void setKeeping(bool keep);
    // Whole frames, oldest first, in one piece.
    QByteArray takeFrames();

signals:
    // A period's frames are kept, all of them: the one time to take them.
    void framesReady();
    // The pipeline stopped; it is not started again.
    void failed(const QString &why);

private:
    void keep(const char *data, qsizetype size);
    void periodEncoded();
    void drainBus();

    QString m_channel;
    GstPipelineHandle m_pipeline;
    GstHandle<GstBus> m_bus;
    QSocketNotifier *m_busNotifier = nullptr;
    std::atomic<bool> m_keeping{false};
    // A framesReady is on its way to the window thread; one at a time.
    std::atomic<bool> m_readyPosted{false};
    std::mutex m_framesLock;
    std::deque<QByteArray> m_frames; // guarded by m_framesLock
    qsizetype m_bytes = 0;           // guarded by m_framesLock
};
