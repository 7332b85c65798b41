#include "player/mediaplayer.h"

#include "platform/nestedloop.h"
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

} // namespace

MediaPlayer::MediaPlayer(AudioOutput output, QObject *parent)
    : QObject(parent)
{
    m_soundProblem = missingGStreamerParts();
    if (m_soundProblem.isEmpty())
        build(output == AudioOutput::Device ? deviceSink(m_soundProblem) : silentSink());
}

MediaPlayer::MediaPlayer(GstElement *audioSink, QObject *parent)
    : QObject(parent)
{
    // Ours from here on, so that a floating sink goes also when it never plays.
    GstHandle<GstElement> sink(audioSink ? GST_ELEMENT(gst_object_ref_sink(audioSink)) : nullptr);
    m_soundProblem = missingGStreamerParts();
    if (m_soundProblem.isEmpty())
        build(sink ? std::move(sink) : silentSink());
}

MediaPlayer::~MediaPlayer()
{
    // A load still waiting returns; nothing will play.
    decideStart(false);
}

void MediaPlayer::build(GstHandle<GstElement> audioSink)
{
    m_playbin.reset(makeElement("playbin").release());
    // Audio only: an MP3 with cover art must never open a video window. The
    // volume is the output's own, not playbin's, so that whatever else the
    // sound goes to (a stream) is not turned down with what the owner hears.
    gst_util_set_object_arg(G_OBJECT(m_playbin.get()), "flags", "audio");
    // Takes a reference of its own to the output.
    g_object_set(m_playbin.get(), "audio-sink", makeOutput(std::move(audioSink)).get(), nullptr);

    m_bus.reset(gst_element_get_bus(m_playbin.get()));
    GPollFD pollFd;
    gst_bus_get_pollfd(m_bus.get(), &pollFd);
    m_busNotifier.setSocket(pollFd.fd);
    m_busNotifier.setEnabled(true);
    connect(&m_busNotifier, &QSocketNotifier::activated, this, &MediaPlayer::drainBus);

    m_startTimeout.setSingleShot(true);
    m_startTimeout.setTimerType(Qt::PreciseTimer);
    // After a failed start playbin is only fit for reuse again from NULL.
    connect(&m_startTimeout, &QTimer::timeout, this, [this] {
        if (m_start)
            halt(true);
    });
}

// split ! audioconvert ! audiopanorama ! volume ! audioconvert ! sink: the
// split is where alsoSendTo branches off, before the owner's balance,
// volume and mute.
GstHandle<GstElement> MediaPlayer::makeOutput(GstHandle<GstElement> audioSink)
{
    GstHandle<GstElement> output(GST_ELEMENT(gst_object_ref_sink(gst_bin_new("output"))));
    const GstHandle<GstElement> split = makeElement("tee", "split"), panorama = makeElement("audiopanorama"),
                                volume = makeElement("volume"), in = makeElement("audioconvert"),
                                out = makeElement("audioconvert");
    gst_util_set_object_arg(G_OBJECT(panorama.get()), "method", "simple");
    gst_bin_add_many(GST_BIN(output.get()), split.get(), in.get(), panorama.get(), volume.get(), out.get(),
                     audioSink.get(), nullptr);
    gst_element_link_many(split.get(), in.get(), panorama.get(), volume.get(), out.get(), audioSink.get(), nullptr);
    const GstHandle<GstPad> splitIn(gst_element_get_static_pad(split.get(), "sink"));
    gst_element_add_pad(output.get(), gst_ghost_pad_new("sink", splitIn.get()));
    m_output = output.get();
    m_panorama = panorama.get();
    m_volumeControl = volume.get();
    return output;
}

bool MediaPlayer::alsoSendTo(GstElement *branch)
{
    GstHandle<GstElement> taken(branch ? GST_ELEMENT(gst_object_ref_sink(branch)) : nullptr);
    if (!m_output || !taken || m_state != State::Stopped || m_start)
        return false;
    const GstHandle<GstElement> split(gst_bin_get_by_name(GST_BIN(m_output), "split"));
    gst_bin_add(GST_BIN(m_output), taken.get());
    const bool linked = gst_element_link(split.get(), taken.get());
    // The output is still in NULL: the new parts follow it from there.
    return linked;
}

bool MediaPlayer::load(const QByteArray &path)
{
    halt(false);
    m_fileName = path;
    m_loaded = false;
    m_tags = {};
    if (!m_playbin || path.isEmpty() || !isRegularFile(path))
        return false;
    const GMemory<gchar> uri(gst_filename_to_uri(path.constData(), nullptr));
    if (!uri)
        return false;
    g_object_set(m_playbin.get(), "uri", uri.get(), nullptr);
    const auto start = std::make_shared<StartVerdict>();
    m_start = start;
    beginStart();
    return waitFor(start);
}

QString MediaPlayer::fileName() const
{
    return QFile::decodeName(m_fileName);
}

void MediaPlayer::beginStart()
{
    const GstStateChangeReturn change = gst_element_set_state(m_playbin.get(), GST_STATE_PAUSED);
    if (change == GST_STATE_CHANGE_FAILURE)
        halt(true);
    else if (change != GST_STATE_CHANGE_ASYNC)
        prerolled();
    else
        m_startTimeout.start(prerollTimeoutMs);
}

void MediaPlayer::prerolled()
{
    // Something that decodes to no sound at all is no track either.
    gint audioStreams = 0;
    g_object_get(m_playbin.get(), "n-audio", &audioStreams, nullptr);
    if (audioStreams <= 0) {
        halt(true);
        return;
    }
    m_loaded = true;
    // Prerolled, the file has told whether it can be moved within.
    GstQuery *seeking = gst_query_new_seeking(GST_FORMAT_TIME);
    gboolean canSeek = FALSE;
    if (gst_element_query(m_playbin.get(), seeking))
        gst_query_parse_seeking(seeking, nullptr, &canSeek, nullptr, nullptr);
    gst_query_unref(seeking);
    m_seekable = canSeek;
    play();
    // Playing by the time anyone hears of it; a device that refuses to play
    // has decided already.
    decideStart(true);
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

void MediaPlayer::play()
{
    if (!m_loaded || m_state == State::Playing)
        return;
    if (gst_element_set_state(m_playbin.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        halt(true);
        return;
    }
    m_state = State::Playing;
}

void MediaPlayer::pause()
{
    if (m_state != State::Playing)
        return;
    if (gst_element_set_state(m_playbin.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        halt(true);
        return;
    }
    m_state = State::Paused;
}

void MediaPlayer::stop()
{
    halt(false);
}

qint64 MediaPlayer::position() const
{
    return m_loaded ? microseconds(m_playbin.get(), gst_element_query_position) : -1;
}

qint64 MediaPlayer::duration() const
{
    return m_loaded ? microseconds(m_playbin.get(), gst_element_query_duration) : -1;
}

bool MediaPlayer::seekable() const
{
    return m_loaded && m_seekable && m_state != State::Stopped;
}

bool MediaPlayer::seek(qint64 microseconds)
{
    return seekable() && microseconds >= 0
           && gst_element_seek_simple(m_playbin.get(), GST_FORMAT_TIME,
                                      GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                      microseconds * 1000);
}

MediaPlayer::State MediaPlayer::playState() const
{
    return m_state;
}

void MediaPlayer::halt(bool releaseDevice)
{
    m_state = State::Stopped;
    if (m_playbin) {
        gst_element_set_state(m_playbin.get(), releaseDevice ? GST_STATE_NULL : GST_STATE_READY);
        // The streaming threads are gone now; whatever they posted (an end
        // of the track just stopped, above all) must not reach the next one.
        gst_bus_set_flushing(m_bus.get(), TRUE);
        gst_bus_set_flushing(m_bus.get(), FALSE);
    }
    // Told last: whoever hears that a start failed may load the next file.
    decideStart(false);
}

void MediaPlayer::setVolume(long hundredthsDb)
{
    m_volume = std::clamp(hundredthsDb, quietestVolume, 0L);
    if (m_volumeControl)
        gst_stream_volume_set_volume(GST_STREAM_VOLUME(m_volumeControl), GST_STREAM_VOLUME_FORMAT_DB,
                                     m_volume / 100.0);
}

long MediaPlayer::volume() const
{
    return m_volume;
}

void MediaPlayer::setBalance(long hundredthsDb)
{
    m_balance = std::clamp(hundredthsDb, -widestBalance, widestBalance);
    if (m_panorama)
        g_object_set(m_panorama, "panorama", gfloat(panoramaFor(m_balance)), nullptr);
}

long MediaPlayer::balance() const
{
    return m_balance;
}

void MediaPlayer::setMute(bool mute)
{
    m_mute = mute;
    if (m_volumeControl)
        gst_stream_volume_set_mute(GST_STREAM_VOLUME(m_volumeControl), mute);
}

bool MediaPlayer::muted() const
{
    return m_mute;
}

void MediaPlayer::drainBus()
{
    while (const GstMessageHandle message{gst_bus_timed_pop_filtered(
               m_bus.get(), 0,
               GstMessageType(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_EOS | GST_MESSAGE_ERROR |
                              GST_MESSAGE_DURATION_CHANGED | GST_MESSAGE_TAG))})
        handle(message.get());
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

void MediaPlayer::handle(GstMessage *message)
{
    const GstMessageType type = GST_MESSAGE_TYPE(message);
    // Only the loaded file's tags reach here: each load flushes the bus.
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
        emit durationChanged();
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
    halt(true);
    emit playbackFailed(error ? QString::fromUtf8(error->message) : QString());
}
