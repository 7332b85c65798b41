#include "player/mediaplayer.h"

#include "platform/nestedloop.h"
#include "player/pipelineworker.h"
#include "player/regularfile.h"

#include <QEventLoop>
#include <QFile>
#include <QSocketNotifier>
#include <gst/audio/audio.h>
#include <gst/gst.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <utility>

namespace {

// How long loading may take to tell whether a file decodes.
constexpr int prerollTimeoutMs = 5000;
// A pipeline that answers changes state in milliseconds. One whose worker
// has been on a job this long waits on a file system, and the next file
// gets a new pipeline rather than a place in the queue behind it.
constexpr int hungAfterMs = 1000;
// Pipelines left behind hanging, each with its thread, before the player
// stops making new ones until one of them answers: a mount that never
// does costs this much and no more, however often its files are asked for.
constexpr int mostLeftBehind = 3;

// How the worker tells the window thread what a job did, in the bus's order.
constexpr const char *doneMessage = "dun2-done";
// What a start reports when its path is no regular file.
constexpr int notAFile = -1;

void tellDone(GstElement *playbin, quint32 epoch, int done, int result, qint64 duration = -1)
{
    GstStructure *told = gst_structure_new(doneMessage, "epoch", G_TYPE_UINT, guint(epoch), "done", G_TYPE_INT,
                                           done, "result", G_TYPE_INT, result, "duration", G_TYPE_INT64,
                                           gint64(duration), nullptr);
    gst_element_post_message(playbin, gst_message_new_application(GST_OBJECT(playbin), told));
}

// Below -100 dB nothing is heard, and above 0 dB the volume would amplify
// and clip; the same 100 dB bound holds for turning one channel down.
constexpr long quietestVolume = -10000;
constexpr long widestBalance = 10000;

// Why no track can play, or "" when GStreamer has all that any file needs:
// without it the program goes on silent, and says why once a run.
QString missingGStreamerParts()
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    static const QString missing = []() -> QString {
        for (const char *needed : {"playbin", "audiopanorama", "volume", "tee", "audioconvert", "fakesink"}) {
            if (!GstHandle<GstElementFactory>(gst_element_factory_find(needed))) {
                const QString why = QStringLiteral("GStreamer has no %1 element (are its plugins installed?); "
                                                   "no track can play")
                                        .arg(QLatin1String(needed));
                std::fprintf(stderr, "dun2: %s\n", qPrintable(why));
                return why;
            }
        }
        return {};
    }();
    return missing;
}

// An element made by name, no longer floating; empty where there is no
// such element.
GstHandle<GstElement> makeElement(const char *factory, const char *name = nullptr)
{
    GstElement *element = gst_element_factory_make(factory, name);
    return GstHandle<GstElement>(element ? GST_ELEMENT(gst_object_ref_sink(element)) : nullptr);
}

qint64 microseconds(GstElement *playbin, gboolean (*query)(GstElement *, GstFormat, gint64 *))
{
    gint64 nanoseconds = -1;
    if (!playbin || !query(playbin, GST_FORMAT_TIME, &nanoseconds) || nanoseconds < 0)
        return -1;
    return nanoseconds / 1000;
}

GstHandle<GstElement> silentSink()
{
    GstHandle<GstElement> sink = makeElement("fakesink", "silent");
    // Keeps real time, so tracks last as long as they would on a device.
    g_object_set(sink.get(), "sync", TRUE, nullptr);
    return sink;
}

// The first sound device that opens; else the silent sink, with why.
GstHandle<GstElement> deviceSink(QString &problem)
{
    for (const char *factory : {"pulsesink", "alsasink"}) {
        GstHandle<GstElement> sink = makeElement(factory);
        if (!sink)
            continue;
        const bool works = gst_element_set_state(sink.get(), GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
        gst_element_set_state(sink.get(), GST_STATE_NULL);
        if (works)
            return sink;
    }
    problem = QStringLiteral("no sound device works here; playing silently");
    static std::once_flag told;
    std::call_once(told, [&problem] { std::fprintf(stderr, "dun2: %s\n", qPrintable(problem)); });
    return silentSink();
}

// With the simple method a negative panorama p keeps the left channel and
// scales the right one by 1 + p, a positive one scales the left by 1 - p.
double panoramaFor(long hundredthsDb)
{
    const double kept = 1.0 - std::pow(10.0, -std::abs(hundredthsDb) / 2000.0);
    return hundredthsDb < 0 ? -kept : kept;
}

// split ! audioconvert ! audiopanorama ! volume ! audioconvert ! sink: the
// split is where a branch goes off, before the owner's balance, volume and
// mute.
GstHandle<GstElement> makeOutput(GstHandle<GstElement> audioSink, GstElement *&panorama, GstElement *&volume)
{
    GstHandle<GstElement> output(GST_ELEMENT(gst_object_ref_sink(gst_bin_new("output"))));
    const GstHandle<GstElement> split = makeElement("tee", "split"), pan = makeElement("audiopanorama"),
                                vol = makeElement("volume"), in = makeElement("audioconvert"),
                                out = makeElement("audioconvert");
    gst_util_set_object_arg(G_OBJECT(pan.get()), "method", "simple");
    gst_bin_add_many(GST_BIN(output.get()), split.get(), in.get(), pan.get(), vol.get(), out.get(),
                     audioSink.get(), nullptr);
    gst_element_link_many(split.get(), in.get(), pan.get(), vol.get(), out.get(), audioSink.get(), nullptr);
    const GstHandle<GstPad> splitIn(gst_element_get_static_pad(split.get(), "sink"));
    gst_element_add_pad(output.get(), gst_ghost_pad_new("sink", splitIn.get()));
    panorama = pan.get();
    volume = vol.get();
    return output;
}

bool addBranch(GstElement *output, GstElement *branch)
{
    const GstHandle<GstElement> taken(branch ? GST_ELEMENT(gst_object_ref_sink(branch)) : nullptr);
    if (!output || !taken)
        return false;
    const GstHandle<GstElement> split(gst_bin_get_by_name(GST_BIN(output), "split"));
    gst_bin_add(GST_BIN(output), taken.get());
    // The output is still in NULL: the new parts follow it from there.
    return gst_element_link(split.get(), taken.get());
}

} // namespace

// Declared in the order they are made and let go in the reverse: the
// worker stops the pipeline (or is left behind with it) before the
// notifier and the bus whose descriptor it watches go.
struct MediaPlayer::Pipeline {
    GstHandle<GstElement> playbin;
    // Owned by the playbin, as parts of its audio sink.
    GstElement *output = nullptr;
    GstElement *panorama = nullptr;
    GstElement *volume = nullptr;
    GstHandle<GstBus> bus;
    std::unique_ptr<QSocketNotifier> busNotifier;
    std::unique_ptr<PipelineWorker> worker;
};

MediaPlayer::MediaPlayer(AudioOutput output, QObject *parent)
    : MediaPlayer(output == AudioOutput::Device ? SinkMaker([this] { return deviceSink(m_soundProblem); })
                                                : SinkMaker(silentSink),
                  parent)
{
}

MediaPlayer::MediaPlayer(GstElement *audioSink, QObject *parent)
    : MediaPlayer(
          // Ours from here on, so that a floating sink goes also when it
          // never plays. It can be in one pipeline only: the first.
          [given = std::make_shared<GstHandle<GstElement>>(
               audioSink ? GST_ELEMENT(gst_object_ref_sink(audioSink)) : nullptr)] {
              return *given ? std::move(*given) : silentSink();
          },
          parent)
{
}

MediaPlayer::MediaPlayer(SinkMaker makeSink, QObject *parent)
    : QObject(parent)
    , m_makeSink(std::move(makeSink))
{
    m_startTimeout.setSingleShot(true);
    m_startTimeout.setTimerType(Qt::PreciseTimer);
    connect(&m_startTimeout, &QTimer::timeout, this, &MediaPlayer::startTimedOut);
    m_soundProblem = missingGStreamerParts();
    if (m_soundProblem.isEmpty())
        build();
}

MediaPlayer::~MediaPlayer()
{
    // A load still waiting returns; nothing will play.
    decideStart(false);
}

void MediaPlayer::build()
{
    auto pipeline = std::make_unique<Pipeline>();
    pipeline->playbin = makeElement("playbin");
    GstElement *playbin = pipeline->playbin.get();
    // Audio only: an MP3 with cover art must never open a video window. The
    // volume is the output's own, not playbin's, so that whatever else the
    // sound goes to (a stream) is not turned down with what the owner hears.
    gst_util_set_object_arg(G_OBJECT(playbin), "flags", "audio");
    const GstHandle<GstElement> output = makeOutput(m_makeSink(), pipeline->panorama, pipeline->volume);
    pipeline->output = output.get();
    // Takes a reference of its own to the output.
    g_object_set(playbin, "audio-sink", output.get(), nullptr);
    if (m_makeBranch)
        addBranch(pipeline->output, m_makeBranch());

    pipeline->bus.reset(gst_element_get_bus(playbin));
    GPollFD pollFd;
    gst_bus_get_pollfd(pipeline->bus.get(), &pollFd);
    pipeline->busNotifier = std::make_unique<QSocketNotifier>(pollFd.fd, QSocketNotifier::Read);
    connect(pipeline->busNotifier.get(), &QSocketNotifier::activated, this, &MediaPlayer::drainBus);
    pipeline->worker = std::make_unique<PipelineWorker>(playbin);
    m_pipeline = std::move(pipeline);
    setVolume(m_volume);
    setBalance(m_balance);
    setMute(m_mute);
}

bool MediaPlayer::replaceHungPipeline()
{
    if (PipelineWorker::leftBehind() >= mostLeftBehind)
        return false;
    std::fprintf(stderr, "dun2: the player is stuck on %s, which does not answer; going on without it\n",
                 m_fileName.constData());
    // Whatever it still says is of no one's concern. This may run below the
    // notifier's own signal (a track that ends starts the next), so the
    // notifier goes once that is over.
    m_pipeline->busNotifier->setEnabled(false);
    m_pipeline->busNotifier.release()->deleteLater();
    gst_bus_set_flushing(m_pipeline->bus.get(), TRUE);
    m_pipeline->worker->abandon();
    m_pipeline.reset();
    m_loaded = false;
    m_state = State::Stopped;
    ++m_epoch;
    m_settled = true;
    build();
    return true;
}

bool MediaPlayer::alsoSendTo(std::function<GstElement *()> makeBranch)
{
    if (!m_pipeline || !makeBranch || m_state != State::Stopped || m_start)
        return false;
    if (!addBranch(m_pipeline->output, makeBranch()))
        return false;
    m_makeBranch = std::move(makeBranch);
    return true;
}

bool MediaPlayer::load(const QByteArray &path)
{
    // A worker still on an earlier job after this long waits on a file
    // system that may never answer.
    const bool refused =
        m_pipeline && m_pipeline->worker->busyLongerThan(hungAfterMs) && !replaceHungPipeline();
    if (refused) {
        // Nothing more is asked of it: its queue would only grow.
        std::fprintf(stderr, "dun2: the player still waits on files that do not answer; %s is not tried\n",
                     path.constData());
        m_state = State::Stopped;
        decideStart(false);
    } else {
        halt(false);
    }
    m_fileName = path;
    m_loaded = false;
    m_duration = -1;
    m_tags = {};
    if (refused || !m_pipeline || path.isEmpty())
        return false;
    const GMemory<gchar> uri(gst_filename_to_uri(path.constData(), nullptr));
    if (!uri)
        return false;
    const auto start = std::make_shared<StartVerdict>();
    m_start = start;
    beginStart(path, QByteArray(uri.get()));
    return waitFor(start);
}

QString MediaPlayer::fileName() const
{
    return QFile::decodeName(m_fileName);
}

void MediaPlayer::beginStart(const QByteArray &path, const QByteArray &uri)
{
    m_startPath = path;
    m_startUri = uri;
    const quint32 epoch = m_epoch;
    // Looking at the file can hang as opening it can. A FIFO or a device
    // would hold even the worker in open() for good, so they never get there.
    m_startJob = m_pipeline->worker->run([path, uri, epoch](GstElement *playbin) {
        int result = notAFile;
        if (isRegularFile(path)) {
            g_object_set(playbin, "uri", uri.constData(), nullptr);
            result = gst_element_set_state(playbin, GST_STATE_PAUSED);
        }
        tellDone(playbin, epoch, int(Done::Started), result);
    });
    m_startTimeout.start(prerollTimeoutMs);
}

void MediaPlayer::startTimedOut()
{
    if (!m_start)
        return;
    const quint64 done = m_pipeline->worker->doneThrough();
    // Stuck behind an earlier file, this one never had its chance: it gets
    // it in a pipeline that answers.
    if (done + 1 < m_startJob && replaceHungPipeline()) {
        beginStart(m_startPath, m_startUri);
        return;
    }
    // Still opening the file: stopping it would wait as long.
    if (done < m_startJob)
        replaceHungPipeline();
    // After a failed start playbin is only fit for reuse again from NULL.
    halt(true);
}

void MediaPlayer::prerolled()
{
    // Once for each start, whichever of the bus and the worker tells it first.
    if (m_loaded)
        return;
    // Something that decodes to no sound at all is no track either.
    gint audioStreams = 0;
    g_object_get(m_pipeline->playbin.get(), "n-audio", &audioStreams, nullptr);
    if (audioStreams <= 0) {
        halt(true);
        return;
    }
    m_loaded = true;
    // Prerolled, the file has told whether it can be moved within.
    GstQuery *seeking = gst_query_new_seeking(GST_FORMAT_TIME);
    gboolean canSeek = FALSE;
    if (gst_element_query(m_pipeline->playbin.get(), seeking))
        gst_query_parse_seeking(seeking, nullptr, &canSeek, nullptr, nullptr);
    gst_query_unref(seeking);
    m_seekable = canSeek;
    // Measured before the verdict, which whoever hears it may read.
    measureDuration();
    // Playing by the time anyone hears of it: the verdict waits for the
    // device to take it.
    change(GST_STATE_PLAYING, Done::Played);
}

void MediaPlayer::decideStart(bool plays)
{
    const std::shared_ptr<StartVerdict> start = std::exchange(m_start, nullptr);
    if (!start)
        return;
    m_startTimeout.stop();
    start->decided = true;
    start->plays = plays;
    emit startDecided(plays);
}

bool MediaPlayer::waitFor(std::shared_ptr<StartVerdict> start)
{
    if (!start->decided) {
        NestedLoop nested;
        QEventLoop loop;
        connect(this, &MediaPlayer::startDecided, &loop, [&] {
            if (!start->decided)
                return;
            nested.ending();
            loop.quit();
        });
        loop.exec();
    }
    // The player may be gone, or on another file, by now.
    return start->plays;
}

void MediaPlayer::waitForStart()
{
    if (std::shared_ptr<StartVerdict> start = m_start)
        waitFor(std::move(start));
}

void MediaPlayer::change(int state, Done done)
{
    const quint32 epoch = m_epoch;
    m_pipeline->worker->run([state, done, epoch](GstElement *playbin) {
        tellDone(playbin, epoch, int(done), gst_element_set_state(playbin, GstState(state)));
    });
}

void MediaPlayer::measureDuration()
{
    const quint32 epoch = m_epoch;
    m_pipeline->worker->run([epoch](GstElement *playbin) {
        tellDone(playbin, epoch, int(Done::Measured), 0, microseconds(playbin, gst_element_query_duration));
    });
}

void MediaPlayer::play()
{
    if (!m_loaded || m_state == State::Playing)
        return;
    change(GST_STATE_PLAYING, Done::Played);
    m_state = State::Playing;
}

void MediaPlayer::pause()
{
    if (m_state != State::Playing)
        return;
    change(GST_STATE_PAUSED, Done::Paused);
    m_state = State::Paused;
}

void MediaPlayer::stop()
{
    halt(false);
}

qint64 MediaPlayer::position() const
{
    return m_loaded && m_state != State::Stopped ? microseconds(m_pipeline->playbin.get(), gst_element_query_position)
                                                 : -1;
}

qint64 MediaPlayer::duration() const
{
    return m_loaded && m_state != State::Stopped ? m_duration : -1;
}

bool MediaPlayer::seekable() const
{
    return m_loaded && m_seekable && m_state != State::Stopped;
}

bool MediaPlayer::seek(qint64 microseconds)
{
    if (!seekable() || microseconds < 0)
        return false;
    m_pipeline->worker->run([nanoseconds = microseconds * 1000](GstElement *playbin) {
        gst_element_seek_simple(playbin, GST_FORMAT_TIME, GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                nanoseconds);
    });
    return true;
}

MediaPlayer::State MediaPlayer::playState() const
{
    return m_state;
}

void MediaPlayer::halt(bool releaseDevice)
{
    m_state = State::Stopped;
    if (m_pipeline) {
        ++m_epoch;
        m_settled = false;
        const quint32 epoch = m_epoch;
        const GstState target = releaseDevice ? GST_STATE_NULL : GST_STATE_READY;
        m_pipeline->worker->run([epoch, target](GstElement *playbin) {
            gst_element_set_state(playbin, target);
            // The streaming threads are gone now; whatever they posted (an
            // end of the track just stopped, above all) must not reach the
            // next one.
            const GstHandle<GstBus> bus(gst_element_get_bus(playbin));
            gst_bus_set_flushing(bus.get(), TRUE);
            gst_bus_set_flushing(bus.get(), FALSE);
            tellDone(playbin, epoch, int(Done::Halted), 0);
        });
    }
    // Told last: whoever hears that a start failed may load the next file.
    decideStart(false);
}

void MediaPlayer::setVolume(long hundredthsDb)
{
    m_volume = std::clamp(hundredthsDb, quietestVolume, 0L);
    if (m_pipeline)
        gst_stream_volume_set_volume(GST_STREAM_VOLUME(m_pipeline->volume), GST_STREAM_VOLUME_FORMAT_DB,
                                     m_volume / 100.0);
}

long MediaPlayer::volume() const
{
    return m_volume;
}

void MediaPlayer::setBalance(long hundredthsDb)
{
    m_balance = std::clamp(hundredthsDb, -widestBalance, widestBalance);
    if (m_pipeline)
        g_object_set(m_pipeline->panorama, "panorama", gfloat(panoramaFor(m_balance)), nullptr);
}

long MediaPlayer::balance() const
{
    return m_balance;
}

void MediaPlayer::setMute(bool mute)
{
    m_mute = mute;
    if (m_pipeline)
        gst_stream_volume_set_mute(GST_STREAM_VOLUME(m_pipeline->volume), mute);
}

bool MediaPlayer::muted() const
{
    return m_mute;
}

void MediaPlayer::drainBus()
{
    // A handler may replace the pipeline, and with it the bus.
    while (m_pipeline) {
        const GstMessageHandle message{gst_bus_timed_pop_filtered(
            m_pipeline->bus.get(), 0,
            GstMessageType(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_EOS | GST_MESSAGE_ERROR |
                           GST_MESSAGE_DURATION_CHANGED | GST_MESSAGE_TAG | GST_MESSAGE_APPLICATION))};
        if (!message)
            return;
        handle(message.get());
    }
}

void MediaPlayer::noteTags(GstMessage *message)
{
    GstTagList *list = nullptr;
    gst_message_parse_tag(message, &list);
    const bool changed = list && MergeTags(m_tags, list);
    if (list)
        gst_tag_list_unref(list);
    if (changed && !m_start)
        emit tagsChanged();
}

void MediaPlayer::handleDone(const GstStructure *done)
{
    guint epoch = 0;
    gint what = 0, result = 0;
    gint64 duration = -1;
    gst_structure_get_uint(done, "epoch", &epoch);
    gst_structure_get_int64(done, "duration", &duration);
    gst_structure_get_int(done, "done", &what);
    gst_structure_get_int(done, "result", &result);
    // Of a file before the last halt.
    if (epoch != m_epoch)
        return;
    const bool failed = result == notAFile || result == GST_STATE_CHANGE_FAILURE;
    switch (Done(what)) {
    case Done::Halted:
        m_settled = true;
        return;
    case Done::Started:
        if (!m_start)
            return;
        if (failed)
            halt(true);
        else if (result != GST_STATE_CHANGE_ASYNC) // else the bus tells when it prerolled
            prerolled();
        return;
    case Done::Played:
        if (m_start && !failed) {
            m_state = State::Playing;
            decideStart(true);
        } else if (m_start) {
            halt(true);
        } else if (failed) {
            failPlayback(QStringLiteral("the sound device refused to play"));
        }
        return;
    case Done::Paused:
        if (failed)
            failPlayback(QStringLiteral("the sound device refused to pause"));
        return;
    case Done::Measured:
        m_duration = duration;
        // While the file starts, whoever hears the verdict reads it then.
        if (!m_start)
            emit durationChanged();
        return;
    }
}

void MediaPlayer::failPlayback(const QString &reason)
{
    halt(true);
    emit playbackFailed(reason);
}

void MediaPlayer::handle(GstMessage *message)
{
    const GstMessageType type = GST_MESSAGE_TYPE(message);
    if (type == GST_MESSAGE_APPLICATION) {
        if (const GstStructure *done = gst_message_get_structure(message);
            done && gst_structure_has_name(done, doneMessage))
            handleDone(done);
        return;
    }
    // Until the last halt is done the bus may still bring the file before.
    if (!m_settled)
        return;
    if (type == GST_MESSAGE_TAG) {
        noteTags(message);
        return;
    }
    // While a file starts only its verdict counts; a file that fails to
    // start is only fit for reuse again from NULL.
    if (m_start) {
        if (type == GST_MESSAGE_ASYNC_DONE)
            prerolled();
        else if (type == GST_MESSAGE_ERROR)
            halt(true);
        return;
    }
    if (m_state == State::Stopped || type == GST_MESSAGE_ASYNC_DONE)
        return;
    if (type == GST_MESSAGE_DURATION_CHANGED) {
        measureDuration();
        return;
    }
    // Stopped before either signal, so a handler that loads the next track
    // finds the player free.
    if (type == GST_MESSAGE_EOS) {
        halt(false);
        emit endOfStream();
        return;
    }
    // A device that went away, a file that turned unreadable: playback
    // ends, the program goes on.
    GError *parsed = nullptr;
    gst_message_parse_error(message, &parsed, nullptr);
    const GErrorHandle error(parsed);
    failPlayback(error ? QString::fromUtf8(error->message) : QString());
}
