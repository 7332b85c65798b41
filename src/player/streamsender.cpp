#include "player/streamsender.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSocketNotifier>
#include <gst/gst.h>

#include <algorithm>
#include <atomic>

namespace {

// Waits before trying again: doubling from a second up to a minute.
constexpr int firstWaitMs = 1000;
constexpr int longestWaitMs = 60000;

// The pipeline's source reads what the player sends into this channel.
QString channelName(const void *sender)
{
    return QStringLiteral("dun2-stream-%1").arg(quintptr(sender), 0, 16);
}

// Counts what reaches the sender of one pipeline: it connects when it
// renders the first buffer and stops at a refusal, so a second one arriving
// means the server took the stream.
struct Arrivals {
    StreamSender *sender;
    int pipeline;
    std::atomic<int> count{0};
};

} // namespace

StreamSender::StreamSender(StreamTarget target, QObject *parent)
    : QObject(parent)
    , m_target(std::move(target))
    , m_channel(channelName(this))
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &StreamSender::connectOnce);
}

StreamSender::~StreamSender()
{
    // Its threads are gone before anything they report to is.
    delete m_busNotifier;
    m_pipeline.reset();
}

GstElement *StreamSender::makeInlet()
{
    GstElement *inlet = gst_element_factory_make("interaudiosink", nullptr);
    if (!inlet)
        return nullptr;
    // Given each buffer as the owner's sink plays it, so it keeps their time
    // without a clock of its own; never waited for by the player's start.
    g_object_set(inlet, "channel", m_channel.toUtf8().constData(), "sync", FALSE, "async", FALSE, nullptr);
    return inlet;
}

void StreamSender::start()
{
    m_waitMs = firstWaitMs;
    connectOnce();
}

void StreamSender::connectOnce()
{
    delete std::exchange(m_busNotifier, nullptr);
    m_bus.reset();
    m_pipeline.reset();
    const QUrl &url = m_target.listenUrl;
    GError *parseError = nullptr;
    // Silence while the player sends nothing keeps the listeners connected.
    GstElement *pipeline = gst_parse_launch(
        "interaudiosrc name=inlet ! audioconvert ! audioresample ! audio/x-raw,rate=44100,channels=2"
        " ! lamemp3enc name=encoder target=bitrate cbr=true ! shout2send name=sender sync=false",
        &parseError);
    const GErrorHandle error(parseError);
    if (!pipeline || error) {
        if (pipeline)
            gst_object_unref(pipeline);
        return fail(QStringLiteral("GStreamer can't make the stream (are gstreamer1.0-plugins-good and -bad"
                                   " installed?)"));
    }
    m_pipeline.reset(pipeline);
    const auto element = [pipeline](const char *name) {
        return GstHandle<GstElement>(gst_bin_get_by_name(GST_BIN(pipeline), name));
    };
    // A tenth of a second at a time rather than GStreamer's fortieth: every
    // wake-up of the encoder and the sender costs, and listeners never hear
    // the difference.
    g_object_set(element("inlet").get(), "channel", m_channel.toUtf8().constData(), "period-time",
                 guint64(100 * GST_MSECOND), "latency-time", guint64(200 * GST_MSECOND), nullptr);
    g_object_set(element("encoder").get(), "bitrate", Kbps, nullptr);
    const GstHandle<GstElement> sender = element("sender");
    g_object_set(sender.get(), "ip", url.host().toUtf8().constData(), "port", url.port(80), "mount",
                 url.path(QUrl::FullyEncoded).toUtf8().constData(), "password", m_target.password.toUtf8().constData(),
                 "streamname", "dun2", nullptr);

    // The title is set through the server, exactly as given; tags from the
    // encoder would show listeners "Unknown - Unknown" meanwhile.
    const GstHandle<GstPad> senderIn(gst_element_get_static_pad(sender.get(), "sink"));
    gst_pad_add_probe(
        senderIn.get(), GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM,
        [](GstPad *, GstPadProbeInfo *info, gpointer) {
            return GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_TAG ? GST_PAD_PROBE_DROP
                                                                                    : GST_PAD_PROBE_OK;
        },
        nullptr, nullptr);
    gst_pad_add_probe(
        senderIn.get(), GST_PAD_PROBE_TYPE_BUFFER,
        [](GstPad *, GstPadProbeInfo *, gpointer data) {
            auto *arrivals = static_cast<Arrivals *>(data);
            if (++arrivals->count == 2)
                QMetaObject::invokeMethod(
                    arrivals->sender, [sender = arrivals->sender, pipeline = arrivals->pipeline] {
                        sender->noteLive(pipeline);
                    },
                    Qt::QueuedConnection);
            return GST_PAD_PROBE_OK;
        },
        new Arrivals{this, ++m_pipelines}, [](gpointer data) { delete static_cast<Arrivals *>(data); });

    m_bus.reset(gst_element_get_bus(pipeline));
    GPollFD pollFd;
    gst_bus_get_pollfd(m_bus.get(), &pollFd);
    m_busNotifier = new QSocketNotifier(pollFd.fd, QSocketNotifier::Read, this);
    connect(m_busNotifier, &QSocketNotifier::activated, this, &StreamSender::drainBus);
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        fail(QStringLiteral("the stream's pipeline would not start"));
}

void StreamSender::drainBus()
{
    while (const GstMessageHandle message{gst_bus_timed_pop_filtered(m_bus.get(), 0, GST_MESSAGE_ERROR)}) {
        GError *parsed = nullptr;
        gchar *debug = nullptr;
        gst_message_parse_error(message.get(), &parsed, &debug);
        const GErrorHandle error(parsed);
        const GMemory<gchar> details(debug);
        // The last line of the details is the server's or libshout's word.
        const QString detail = QString::fromUtf8(debug).split(u'\n').last().trimmed();
        const QString what = error ? QString::fromUtf8(error->message) : QStringLiteral("the stream failed");
        return fail(detail.isEmpty() ? what : what + " (" + detail + ")");
    }
}

void StreamSender::fail(const QString &why)
{
    delete std::exchange(m_busNotifier, nullptr);
    m_bus.reset();
    m_pipeline.reset();
    m_live = false;
    emit wentDown(why);
    m_retry.start(m_waitMs);
    m_waitMs = std::min(m_waitMs * 2, longestWaitMs);
}

void StreamSender::noteLive(int pipeline)
{
    if (pipeline != m_pipelines || !m_pipeline || m_live)
        return;
    m_live = true;
    m_waitMs = firstWaitMs;
    sendTitle();
    emit wentLive(!std::exchange(m_wasLive, true));
}

void StreamSender::setTitle(const QString &title)
{
    m_title = title;
    if (m_live)
        sendTitle();
}

// Icecast's own way to set a mount's title, with the source's password.
void StreamSender::sendTitle()
{
    if (m_title.isEmpty())
        return;
    // Everything but letters and digits encoded: a "+" or "&" in a name is
    // part of the title.
    const auto encoded = [](const QString &text) { return QString::fromLatin1(QUrl::toPercentEncoding(text)); };
    QUrl url = m_target.listenUrl;
    url.setPath(QStringLiteral("/admin/metadata"));
    url.setQuery(QStringLiteral("mount=%1&mode=updinfo&song=%2")
                     .arg(encoded(m_target.listenUrl.path()), encoded(m_title.left(TitleLength))),
                 QUrl::StrictMode);
    QNetworkRequest request(url);
    request.setRawHeader("Authorization", "Basic " + ("source:" + m_target.password.toUtf8()).toBase64());
    request.setTransferTimeout(10000);
    QNetworkReply *reply = m_network.get(request);
    connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
}
