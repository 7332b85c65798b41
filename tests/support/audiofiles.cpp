#include "audiofiles.h"

#include <QByteArray>
#include <QtGlobal>
#include <gst/gst.h>

#include <algorithm>
#include <cmath>

namespace {

// Buffers of 10 ms make every length a whole number of buffers, which is
// what audiotestsrc can count.
constexpr int sampleRate = 44100;
constexpr int samplesPerBuffer = sampleRate / 100;

GstElement *add(GstElement *pipeline, const char *factory)
{
    GstElement *element = gst_element_factory_make(factory, nullptr);
    if (!element)
        qFatal("makeMp3: GStreamer has no %s", factory);
    gst_bin_add(GST_BIN(pipeline), element);
    return element;
}

} // namespace

void makeMp3(const QString &path, double seconds, double frequencyHz)
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);

    GstElement *pipeline = gst_pipeline_new("makemp3");
    GstElement *source = add(pipeline, "audiotestsrc");
    GstElement *format = add(pipeline, "capsfilter");
    GstElement *encoder = add(pipeline, "lamemp3enc");
    GstElement *file = add(pipeline, "filesink");

    const int buffers = std::max(1, int(std::lround(seconds * 100)));
    gst_util_set_object_arg(G_OBJECT(source), "wave", "sine");
    g_object_set(source, "freq", frequencyHz, "samplesperbuffer", samplesPerBuffer,
                 "num-buffers", buffers, nullptr);
    GstCaps *caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "rate",
                                        G_TYPE_INT, sampleRate, "channels", G_TYPE_INT, 2, nullptr);
    g_object_set(format, "caps", caps, nullptr);
    gst_caps_unref(caps);
    gst_util_set_object_arg(G_OBJECT(encoder), "encoding-engine-quality", "fast");
    g_object_set(file, "location", path.toLocal8Bit().constData(), nullptr);
    if (!gst_element_link_many(source, format, encoder, file, nullptr))
        qFatal("makeMp3: cannot link the encoding pipeline");

    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus *bus = gst_element_get_bus(pipeline);
    GstMessage *message = gst_bus_timed_pop_filtered(
        bus, 30 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool done = message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    if (message)
        gst_message_unref(message);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    if (!done)
        qFatal("makeMp3: could not write %s", qPrintable(path));
}
