#include "player/mediaplayer.h"

#include "player/regularfile.h"

#include <QFile>
#include <QSocketNotifier>
#include <gst/audio/audio.h>
#include <gst/gst.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>

namespace {

// How long loading may take to tell whether a file decodes.
constexpr GstClockTime prerollTimeout = 5 * GST_SECOND;

// Below -100 dB nothing is heard, and above 0 dB the volume would amplify
// and clip; the same 100 dB bound holds for turning one channel down.
constexpr long quietestVolume = -10000;
constexpr long widestBalance = 10000;

// False when GStreamer lacks what any file needs to play: the program then
// goes on without sound, and says why once a run.
bool initGStreamer()
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    static const bool complete = [] {
        for (const char *needed : {"playbin", "audiopanorama", "fakesink"}) {
            GstElementFactory *factory = gst_element_factory_find(needed);
            if (!factory) {
                std::fprintf(stderr, "dun2: GStreamer has no %s element (are its plugins installed?); "
                                     "no track can play\n", needed);
                return false;
            }
            gst_object_unref(factory);
        }
        return true;
    }();
    return complete;
}

// The sinks made here come with a reference of their own (not floating),
// for the caller to drop once playbin holds them.
GstElement *silentSink()
{
    GstElement *sink = gst_element_factory_make("fakesink", "silent");
    gst_object_ref_sink(sink);
    // Keeps real time, so tracks last as long as they would on a device.
    g_object_set(sink, "sync", TRUE, nullptr);
    return sink;
}

GstElement *deviceSink()
{
    for (const char *factory : {"pulsesink", "alsasink"}) {
        GstElement *sink = gst_element_factory_make(factory, nullptr);
        if (!sink)
            continue;
        gst_object_ref_sink(sink);
        const bool works = gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
        gst_element_set_state(sink, GST_STATE_NULL);
        if (works)
            return sink;
        gst_object_unref(sink);
    }
    static std::once_flag told;
    std::call_once(told, [] {
        std::fputs("dun2: no sound device works here; playing silently\n", stderr);
    });
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
    if (!initGStreamer())
        return;
    GstElement *sink = output == AudioOutput::Device ? deviceSink() : silentSink();
    build(sink);
    gst_object_unref(sink);
}

MediaPlayer::MediaPlayer(GstElement *audioSink, QObject *parent)
    : QObject(parent)
{
    if (!initGStreamer()) {
        if (audioSink)
            gst_object_unref(gst_object_ref_sink(audioSink));
        return;
    }
    if (audioSink) {
        build(audioSink);
        return;
    }
    GstElement *sink = silentSink();
    build(sink);
    gst_object_unref(sink);
}

MediaPlayer::~MediaPlayer()
{
    if (!m_playbin)
        return;
    delete m_busNotifier; // before the bus and its descriptor go
    gst_element_set_state(m_playbin, GST_STATE_NULL);
    gst_object_unref(m_bus);
    gst_object_unref(m_playbin);
}

void MediaPlayer::build(GstElement *audioSink)
{
    m_playbin = gst_element_factory_make("playbin", nullptr);
    m_panorama = gst_element_factory_make("audiopanorama", nullptr);
    gst_object_ref_sink(m_playbin);
    // Audio only: an MP3 with cover art must never open a video window.
    gst_util_set_object_arg(G_OBJECT(m_playbin), "flags", "audio+soft-volume");
    g_object_set(m_playbin, "audio-sink", audioSink, nullptr);

    // playbin takes its audio filter only while it is in NULL.
    gst_util_set_object_arg(G_OBJECT(m_panorama), "method", "simple");
    g_object_set(m_playbin, "audio-filter", m_panorama, nullptr);

    m_bus = gst_element_get_bus(m_playbin);
    GPollFD pollFd;
    gst_bus_get_pollfd(m_bus, &pollFd);
    m_busNotifier = new QSocketNotifier(pollFd.fd, QSocketNotifier::Read, this);
    connect(m_busNotifier, &QSocketNotifier::activated, this, &MediaPlayer::drainBus);
}

bool MediaPlayer::setFileName(const QByteArray &path)
{
    halt(false);
    m_fileName = path;
    m_loaded = false;
    if (!m_playbin || path.isEmpty() || !isRegularFile(path))
        return false;
    gchar *uri = gst_filename_to_uri(path.constData(), nullptr);
    if (!uri)
        return false;
    g_object_set(m_playbin, "uri", uri, nullptr);
    g_free(uri);
    if (!waitForPreroll()) {
        // After an error playbin is only fit for reuse again from NULL.
        halt(true);
        return false;
    }
    m_loaded = true;
    Play();
    return true;
}

bool MediaPlayer::Open(const QByteArray &path)
{
    return setFileName(path);
}

QString MediaPlayer::FileName() const
{
    return QFile::decodeName(m_fileName);
}

bool MediaPlayer::waitForPreroll()
{
    const GstStateChangeReturn change = gst_element_set_state(m_playbin, GST_STATE_PAUSED);
    if (change == GST_STATE_CHANGE_FAILURE)
        return false;
    if (change == GST_STATE_CHANGE_ASYNC) {
        GstMessage *message = gst_bus_timed_pop_filtered(
            m_bus, prerollTimeout, GstMessageType(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR));
        if (!message)
            return false;
        const bool prerolled = GST_MESSAGE_TYPE(message) == GST_MESSAGE_ASYNC_DONE;
        gst_message_unref(message);
        if (!prerolled)
            return false;
    }
    // Something that decodes to no sound at all is no track either.
    gint audioStreams = 0;
    g_object_get(m_playbin, "n-audio", &audioStreams, nullptr);
    return audioStreams > 0;
}

void MediaPlayer::Play()
{
    if (!m_loaded || m_state == State::Playing)
        return;
    if (gst_element_set_state(m_playbin, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        halt(true);
        return;
    }
    m_state = State::Playing;
}

void MediaPlayer::Pause()
{
    if (m_state != State::Playing)
        return;
    if (gst_element_set_state(m_playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        halt(true);
        return;
    }
    m_state = State::Paused;
}

void MediaPlayer::Stop()
{
    halt(false);
}

int MediaPlayer::PlayState() const
{
    return static_cast<int>(m_state);
}

void MediaPlayer::halt(bool releaseDevice)
{
    m_state = State::Stopped;
    if (!m_playbin)
        return;
    gst_element_set_state(m_playbin, releaseDevice ? GST_STATE_NULL : GST_STATE_READY);
    // The streaming threads are gone now; whatever they posted (an end of
    // the track just stopped, above all) must not reach the next one.
    gst_bus_set_flushing(m_bus, TRUE);
    gst_bus_set_flushing(m_bus, FALSE);
}

void MediaPlayer::setVolume(long hundredthsDb)
{
    m_volume = std::clamp(hundredthsDb, quietestVolume, 0L);
    if (m_playbin)
        gst_stream_volume_set_volume(GST_STREAM_VOLUME(m_playbin), GST_STREAM_VOLUME_FORMAT_DB,
                                     m_volume / 100.0);
}

long MediaPlayer::Volume() const
{
    return m_volume;
}

void MediaPlayer::setBalance(long hundredthsDb)
{
    m_balance = std::clamp(hundredthsDb, -widestBalance, widestBalance);
    if (m_panorama)
        g_object_set(m_panorama, "panorama", gfloat(panoramaFor(m_balance)), nullptr);
}

long MediaPlayer::Balance() const
{
    return m_balance;
}

void MediaPlayer::setMute(bool mute)
{
    m_mute = mute;
    if (m_playbin)
        gst_stream_volume_set_mute(GST_STREAM_VOLUME(m_playbin), mute);
}

bool MediaPlayer::Mute() const
{
    return m_mute;
}

void MediaPlayer::drainBus()
{
    while (GstMessage *message = gst_bus_timed_pop_filtered(
               m_bus, 0, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR))) {
        handle(message);
        gst_message_unref(message);
    }
}

void MediaPlayer::handle(GstMessage *message)
{
    if (m_state == State::Stopped)
        return;
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
        // Stopped before the signal, so a handler that loads the next track
        // finds the player free.
        halt(false);
        emit EndOfStream(0);
    } else {
        // A device that went away, a file that turned unreadable: playback
        // ends, the program goes on.
        halt(true);
    }
}
