#include "levelsink.h"

#include <gst/gst.h>

#include <mutex>

namespace {

// Fixed by the sink's caps, so a buffer's length is its frame count.
constexpr int Rate = 48000;

} // namespace

// Shared with the streaming thread, which may outlive the sink.
struct LevelMeter
{
    std::mutex mutex;
    struct {
        double heard[2] = {};   // mean squares per channel of the last whole window
        double pending[2] = {}; // sums of squares of the window being played
        qint64 pendingFrames = 0;
        qint64 frames = 0;
    } played; // since the last reset

    double db(int channel)
    {
        std::lock_guard lock(mutex);
        const double square = played.heard[channel];
        return square > 0 ? 10.0 * std::log10(square) : -std::numeric_limits<double>::infinity();
    }
};

namespace {

void onHandoff(GstElement *, GstBuffer *buffer, GstPad *, gpointer data)
{
    LevelMeter &meter = **static_cast<std::shared_ptr<LevelMeter> *>(data);
    auto &played = meter.played;
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READ))
        return;
    const auto *samples = reinterpret_cast<const float *>(map.data);
    const qint64 frames = qint64(map.size / (2 * sizeof(float)));
    std::lock_guard lock(meter.mutex);
    for (qint64 i = 0; i < 2 * frames; ++i)
        played.pending[i % 2] += double(samples[i]) * samples[i];
    played.frames += frames;
    played.pendingFrames += frames;
    if (played.pendingFrames >= Rate / 10) {
        for (int channel : {0, 1}) {
            played.heard[channel] = played.pending[channel] / double(played.pendingFrames);
            played.pending[channel] = 0;
        }
        played.pendingFrames = 0;
    }
    gst_buffer_unmap(buffer, &map);
}

} // namespace

LevelSink::LevelSink()
    : m_meter(std::make_shared<LevelMeter>())
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    // Synchronised to the clock, so a level read now is what a listener hears now.
    m_bin = gst_parse_bin_from_description(
        "audioconvert ! audioresample ! audio/x-raw,format=F32LE,layout=interleaved,channels=2,rate=48000"
        " ! fakesink name=out sync=true signal-handoffs=true",
        TRUE, nullptr);
    gst_object_ref_sink(m_bin);
    GstElement *out = gst_bin_get_by_name(GST_BIN(m_bin), "out");
    g_signal_connect_data(
        out, "handoff", G_CALLBACK(onHandoff), new std::shared_ptr<LevelMeter>(m_meter),
        [](gpointer data, GClosure *) { delete static_cast<std::shared_ptr<LevelMeter> *>(data); }, GConnectFlags(0));
    gst_object_unref(out);
}

LevelSink::~LevelSink()
{
    gst_object_unref(m_bin);
}

GstElement *LevelSink::element() const
{
    return m_bin;
}

double LevelSink::db(int channel) const
{
    return m_meter->db(channel);
}

double LevelSink::playedSeconds() const
{
    std::lock_guard lock(m_meter->mutex);
    return double(m_meter->played.frames) / Rate;
}

void LevelSink::reset()
{
    std::lock_guard lock(m_meter->mutex);
    m_meter->played = {};
}

bool levelsNear(const LevelSink &sink, double left, double right)
{
    const auto near = [](double measured, double expected) {
        return std::isinf(expected) ? measured < -90 : std::abs(measured - expected) <= 1.0;
    };
    return near(sink.db(0), left) && near(sink.db(1), right);
}

QByteArray levels(const LevelSink &sink)
{
    return "left " + QByteArray::number(sink.db(0), 'f', 2) + " dB, right " + QByteArray::number(sink.db(1), 'f', 2)
           + " dB";
}

void unplug(GstElement *device)
{
    GError *gone = g_error_new_literal(GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_WRITE, "device gone");
    gst_element_post_message(device, gst_message_new_error(GST_OBJECT(device), gone, nullptr));
    g_error_free(gone);
}
