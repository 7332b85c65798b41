#include "audiofiles.h"

#include <QByteArray>
#include <QtGlobal>
#include <gst/gst.h>

#include <algorithm>
#include <cmath>

// Buffers of 10 ms make every length a whole number of buffers, which is
// what audiotestsrc can count.
void makeMp3(const QString &path, double seconds, double frequencyHz)
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    const QByteArray description =
        "audiotestsrc wave=sine samplesperbuffer=441 freq=" + QByteArray::number(frequencyHz)
        + " num-buffers=" + QByteArray::number(std::max(1, int(std::lround(seconds * 100))))
        + " ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! lamemp3enc encoding-engine-quality=fast"
          " ! filesink name=file";
    GError *error = nullptr;
    GstElement *pipeline = gst_parse_launch(description.constData(), &error);
    if (!pipeline || error)
        qFatal("makeMp3: GStreamer cannot encode: %s", error ? error->message : "");
    // Set apart from the description, so the path may hold anything.
    GstElement *file = gst_bin_get_by_name(GST_BIN(pipeline), "file");
    g_object_set(file, "location", path.toLocal8Bit().constData(), nullptr);
    gst_object_unref(file);

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
