#include "player/streamencoder.h"

#include <QSocketNotifier>
#include <gst/app/gstappsink.h>
#include <gst/gst.h>

namespace {

// About 16 s at the bitrate: more would only ever be old news to a listener.
constexpr qsizetype keptBytes = 256 * 1024;

// The pipeline's source reads what the player sends into this channel.
QString channelName(const void *encoder)
{
    return QStringLiteral("dun2-stream-%1").arg(quintptr(encoder), 0, 16);
}

} // namespace

StreamEncoder::StreamEncoder(QObject *parent)
    : QObject(parent)
    , m_channel(channelName(this))
{
}

StreamEncoder::~StreamEncoder()
{
    // Its threads are gone before what they write into is.
    delete m_busNotifier;
    m_pipeline.reset();
}

GstElement *StreamEncoder::makeInlet()
{
    GstElement *inlet = gst_element_factory_make("interaudiosink", nullptr);
    if (!inlet)
        return nullptr;
    // Given each buffer as the owner's sink plays it, so it keeps their time
    // without a clock of its own; never waited for by the player's start.
    g_object_set(inlet, "channel", m_channel.toUtf8().constData(), "sync", FALSE, "async", FALSE, nullptr);
    return inlet;
}

QString StreamEncoder::start()
{
    GError *parseError = nullptr;
    GstElement *pipeline = gst_parse_launch(
        "interaudiosrc name=inlet ! audioconvert ! audioresample ! audio/x-raw,rate=44100,channels=2"
        " ! lamemp3enc name=encoder target=bitrate cbr=true ! appsink name=frames sync=false",
        &parseError);
    const GErrorHandle error(parseError);
    if (!pipeline || error) {
        if (pipeline)
            gst_object_unref(pipeline);
        return QStringLiteral("GStreamer can't make the stream here (are gstreamer1.0-plugins-good and"
                              " gstreamer1.0-plugins-bad installed?)");
    }
    m_pipeline.reset(pipeline);
    const auto element = [pipeline](const char *name) {
        return GstHandle<GstElement>(gst_bin_get_by_name(GST_BIN(pipeline), name));
    };
    // The player's side holds back sound until a period has come, and the
    // encoder may find up to two waiting: the channel holds four, so that it
    // never drops sound for want of room.
    const guint64 period = guint64(PeriodMs) * GST_MSECOND;
    g_object_set(element("inlet").get(), "channel", m_channel.toUtf8().constData(), "period-time", period,
                 "latency-time", period, "buffer-time", 4 * period, nullptr);
    g_object_set(element("encoder").get(), "bitrate", Kbps, nullptr);
    GstAppSinkCallbacks callbacks{};
    callbacks.new_sample = [](GstAppSink *sink, gpointer self) {
        GstSample *sample = gst_app_sink_pull_sample(sink);
        if (!sample)
            return GST_FLOW_OK;
        GstMapInfo map;
        GstBuffer *buffer = gst_sample_get_buffer(sample);
        if (buffer && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            static_cast<StreamEncoder *>(self)->keep(reinterpret_cast<const char *>(map.data), qsizetype(map.size));
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
        return GST_FLOW_OK;
    };
    gst_app_sink_set_callbacks(GST_APP_SINK(element("frames").get()), &callbacks, this, nullptr);
    // The source's pad is idle again once a period has gone through the
    // encoder into the sink: told then, the sender wakes once a period, with
    // all of it there, and never between.
    const GstHandle<GstPad> periods(gst_element_get_static_pad(element("inlet").get(), "src"));
    gst_pad_add_probe(
        periods.get(), GST_PAD_PROBE_TYPE_IDLE,
        [](GstPad *, GstPadProbeInfo *, gpointer self) {
            static_cast<StreamEncoder *>(self)->periodEncoded();
            return GST_PAD_PROBE_OK;
        },
        this, nullptr);

    m_bus.reset(gst_element_get_bus(pipeline));
    GPollFD pollFd;
    gst_bus_get_pollfd(m_bus.get(), &pollFd);
    m_busNotifier = new QSocketNotifier(pollFd.fd, QSocketNotifier::Read, this);
    connect(m_busNotifier, &QSocketNotifier::activated, this, &StreamEncoder::drainBus);
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return QStringLiteral("the stream's encoder would not start");
    return {};
}

void StreamEncoder::setKeeping(bool keep)
{
    m_keeping = keep;
    if (keep)
        return;
    const std::lock_guard lock(m_framesLock);
    m_frames.clear();
    m_bytes = 0;
}

// On the streaming thread.
void StreamEncoder::keep(const char *data, qsizetype size)
{
    if (!m_keeping)
        return;
    const std::lock_guard lock(m_framesLock);
    m_frames.emplace_back(data, size);
    m_bytes += size;
    while (m_bytes > keptBytes) {
        m_bytes -= m_frames.front().size();
        m_frames.pop_front();
    }
}

// On the streaming thread, after every buffer or event it sent.
void StreamEncoder::periodEncoded()
{
    {
        const std::lock_guard lock(m_framesLock);
        if (m_frames.empty())
            return;
    }
    if (m_readyPosted.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_readyPosted = false;
            emit framesReady();
        },
        Qt::QueuedConnection);
}

QByteArray StreamEncoder::takeFrames()
{
    const std::lock_guard lock(m_framesLock);
    QByteArray all;
    all.reserve(m_bytes);
    for (const QByteArray &frame : m_frames)
        all += frame;
    m_frames.clear();
    m_bytes = 0;
    return all;
}

void StreamEncoder::drainBus()
{
    const GstMessageHandle message{gst_bus_timed_pop_filtered(m_bus.get(), 0, GST_MESSAGE_ERROR)};
    if (!message)
        return;
    GError *parsed = nullptr;
    gst_message_parse_error(message.get(), &parsed, nullptr);
    const GErrorHandle error(parsed);
    delete std::exchange(m_busNotifier, nullptr);
    m_pipeline.reset();
    emit failed(error ? QString::fromUtf8(error->message) : QStringLiteral("the stream's encoder failed"));
}
