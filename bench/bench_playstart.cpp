// How long from loading a track to its first sound at the sink: what a
// listener waits after asking for a song. The floor, measured in the same
// run: a bare playbin starting the same file into the same kind of sink.
// Both from stopped, timed from the call to the first buffer the sink is
// given, median of 20 runs. Targets: a median under 30 ms, a wait nobody
// notices, and within 2 times the floor: the player starts the very same
// playbin, and what it does around it should cost no more than that again.
#include "bareplaybin.h"
#include "figures.h"
#include "player/mediaplayer.h"
#include "support/audiofiles.h"
#include "support/levelsink.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <gst/gst.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Notes, on the streaming thread, when the sink is given its first buffer
// since the last start().
class FirstBuffer
{
public:
    explicit FirstBuffer(GstElement *sink) : m_pad(gst_element_get_static_pad(sink, "sink"))
    {
        m_probe = gst_pad_add_probe(m_pad, GST_PAD_PROBE_TYPE_BUFFER, &FirstBuffer::seen, this, nullptr);
    }
    ~FirstBuffer()
    {
        gst_pad_remove_probe(m_pad, m_probe);
        gst_object_unref(m_pad);
    }

    void start()
    {
        m_at = 0;
        m_start = Clock::now();
    }
    // Milliseconds from start() to the first buffer; -1 if none came within 5 s.
    double waitMs()
    {
        if (!QTest::qWaitFor([this] { return m_at.load() != 0; }, 5000))
            return -1;
        return std::chrono::duration<double, std::milli>(Clock::duration(m_at.load()) - m_start.time_since_epoch())
            .count();
    }

private:
    static GstPadProbeReturn seen(GstPad *, GstPadProbeInfo *, gpointer self)
    {
        Clock::rep none = 0;
        static_cast<FirstBuffer *>(self)->m_at.compare_exchange_strong(none, Clock::now().time_since_epoch().count());
        return GST_PAD_PROBE_OK;
    }

    GstPad *m_pad;
    gulong m_probe = 0;
    Clock::time_point m_start;
    std::atomic<Clock::rep> m_at{0};
};

double median(const std::function<double()> &run)
{
    std::vector<double> ms;
    for (int i = 0; i < 20; ++i) {
        ms.push_back(run());
        if (ms.back() < 0) {
            std::fprintf(stderr, "bench_playstart: no sound within 5 s\n");
            std::exit(1);
        }
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    // No window is ever shown; this runs where there is no display too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString track = dir.filePath("track.mp3");
    makeMp3(track, 3.0);

    double floor = 0;
    {
        // Gone before the player starts: nothing of it plays on beside it.
        LevelSink bareSink;
        BarePlaybin bare(track, bareSink.element());
        FirstBuffer bareFirst(bareSink.element());
        floor = median([&] {
            bare.ready();
            bareFirst.start();
            gst_element_set_state(bare.element(), GST_STATE_PLAYING);
            return bareFirst.waitMs();
        });
    }

    LevelSink sink;
    MediaPlayer player(sink.element());
    FirstBuffer first(sink.element());
    const double ms = median([&] {
        // As after the end of a track: nothing of the last run may still
        // be on its way to the sink or queued as its signal.
        player.stop();
        // Without a sleep between, as the floor has none: a machine that
        // dozes off starts slower, whatever is started.
        QElapsedTimer stopping;
        stopping.start();
        while (!player.settled()) {
            if (stopping.elapsed() > 5000) {
                std::fprintf(stderr, "bench_playstart: the player did not stop within 5 s\n");
                std::exit(1);
            }
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        QCoreApplication::processEvents();
        first.start();
        return player.load(QFile::encodeName(track)) ? first.waitMs() : -1;
    });
    player.stop();
    std::printf("bench_playstart: from stopped to the first buffer at the sink, median of 20 runs\n");
    printAgainstFloor("play start", ms, floor, "a bare playbin", 2);
    printUnder("play start", ms, 30);
    return benchDone();
}
