#include "levelsink.h"

#include <gst/app/gstappsink.h>
#include <gst/audio/audio.h>
#include <gst/gst.h>

#include <cmath>
#include <deque>
#include <limits>
#include <mutex>

namespace {

constexpr int windowsPerSecond = 10;

double dbfs(double squares, qint64 frames)
{
    if (frames == 0 || squares <= 0)
        return -std::numeric_limits<double>::infinity();
    return 10.0 * std::log10(squares / double(frames));
}

} // namespace

// Shared with appsink's streaming thread, which may outlive this object.
struct LevelMeter
{
    struct Block
    {
        qint64 frames = 0;
        double leftSquares = 0;
        double rightSquares = 0;
    };

    mutable std::mutex mutex;
    LevelSink *owner = nullptr;
    std::deque<Block> recent;
    qint64 recentFrames = 0;
    bool arrived = false;
    LevelSink::Clock::time_point firstAt;
    double playedSeconds = 0;

    void add(const Block &block, int rate)
    {
        std::lock_guard lock(mutex);
        if (!arrived) {
            arrived = true;
            firstAt = LevelSink::Clock::now();
            if (owner) {
                LevelSink *sink = owner;
                QMetaObject::invokeMethod(sink, [sink] { emit sink->firstBuffer(); }, Qt::QueuedConnection);
            }
        }
        playedSeconds += double(block.frames) / rate;
        const qint64 windowFrames = rate / windowsPerSecond;
        recent.push_back(block);
        recentFrames += block.frames;
        while (recent.size() > 1 && recentFrames - recent.front().frames >= windowFrames) {
            recentFrames -= recent.front().frames;
            recent.pop_front();
        }
    }

    double level(double Block::*squares) const
    {
        std::lock_guard lock(mutex);
        double sum = 0;
        for (const Block &block : recent)
            sum += block.*squares;
        return dbfs(sum, recentFrames);
    }
};

namespace {

GstFlowReturn onSample(GstAppSink *appsink, gpointer data)
{
    auto *meter = static_cast<std::shared_ptr<LevelMeter> *>(data)->get();
    GstSample *sample = gst_app_sink_pull_sample(appsink);
    if (!sample)
        return GST_FLOW_EOS;
    GstAudioInfo info;
    GstMapInfo map;
    if (gst_audio_info_from_caps(&info, gst_sample_get_caps(sample))
        && gst_buffer_map(gst_sample_get_buffer(sample), &map, GST_MAP_READ)) {
        LevelMeter::Block block;
        const auto *samples = reinterpret_cast<const float *>(map.data);
        block.frames = qint64(map.size / (2 * sizeof(float)));
        for (qint64 i = 0; i < block.frames; ++i) {
            block.leftSquares += double(samples[2 * i]) * samples[2 * i];
            block.rightSquares += double(samples[2 * i + 1]) * samples[2 * i + 1];
        }
        gst_buffer_unmap(gst_sample_get_buffer(sample), &map);
        meter->add(block, GST_AUDIO_INFO_RATE(&info));
    }
    gst_sample_unref(sample);
    return GST_FLOW_OK;
}

void dropMeter(gpointer data)
{
    delete static_cast<std::shared_ptr<LevelMeter> *>(data);
}

} // namespace

LevelSink::LevelSink(QObject *parent)
    : QObject(parent)
    , m_meter(std::make_shared<LevelMeter>())
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    m_meter->owner = this;

    m_bin = gst_bin_new("levelsink");
    gst_object_ref_sink(m_bin);
    GstElement *convert = gst_element_factory_make("audioconvert", nullptr);
    GstElement *format = gst_element_factory_make("capsfilter", nullptr);
    GstElement *appsink = gst_element_factory_make("appsink", nullptr);
    gst_bin_add_many(GST_BIN(m_bin), convert, format, appsink, nullptr);
    gst_element_link_many(convert, format, appsink, nullptr);

    GstCaps *caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "F32LE", "channels",
                                        G_TYPE_INT, 2, "layout", G_TYPE_STRING, "interleaved", nullptr);
    g_object_set(format, "caps", caps, nullptr);
    gst_caps_unref(caps);

    // Real time, so a level read now is what a listener hears now.
    g_object_set(appsink, "sync", TRUE, nullptr);
    GstAppSinkCallbacks callbacks = {};
    callbacks.new_sample = onSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(appsink), &callbacks,
                               new std::shared_ptr<LevelMeter>(m_meter), dropMeter);

    GstPad *pad = gst_element_get_static_pad(convert, "sink");
    gst_element_add_pad(m_bin, gst_ghost_pad_new("sink", pad));
    gst_object_unref(pad);
}

LevelSink::~LevelSink()
{
    {
        std::lock_guard lock(m_meter->mutex);
        m_meter->owner = nullptr;
    }
    gst_object_unref(m_bin);
}

GstElement *LevelSink::element() const
{
    return m_bin;
}

double LevelSink::leftDb() const
{
    return m_meter->level(&LevelMeter::Block::leftSquares);
}

double LevelSink::rightDb() const
{
    return m_meter->level(&LevelMeter::Block::rightSquares);
}

bool LevelSink::bufferArrived() const
{
    std::lock_guard lock(m_meter->mutex);
    return m_meter->arrived;
}

LevelSink::Clock::time_point LevelSink::firstBufferTime() const
{
    std::lock_guard lock(m_meter->mutex);
    return m_meter->firstAt;
}

double LevelSink::playedSeconds() const
{
    std::lock_guard lock(m_meter->mutex);
    return m_meter->playedSeconds;
}

void LevelSink::reset()
{
    std::lock_guard lock(m_meter->mutex);
    m_meter->recent.clear();
    m_meter->recentFrames = 0;
    m_meter->arrived = false;
    m_meter->playedSeconds = 0;
}

bool levelsNear(const LevelSink &sink, double left, double right)
{
    const auto near = [](double measured, double expected) {
        return std::isinf(expected) ? measured < -90 : std::abs(measured - expected) <= 1.0;
    };
    return near(sink.leftDb(), left) && near(sink.rightDb(), right);
}

QByteArray levels(const LevelSink &sink)
{
    return "left " + QByteArray::number(sink.leftDb(), 'f', 2) + " dB, right "
        + QByteArray::number(sink.rightDb(), 'f', 2) + " dB";
}

void unplug(GstElement *device)
{
    GError *gone = g_error_new_literal(GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_WRITE, "device gone");
    gst_element_post_message(device, gst_message_new_error(GST_OBJECT(device), gone, nullptr));
    g_error_free(gone);
}
