#include "audiofiles.h"

#include <QTemporaryDir>
#include <QtGlobal>
#include <gst/gst.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// Buffers of 10 ms make every length a whole number of buffers, which is
// what audiotestsrc can count. With a tag list, the ID3v2 muxer writes it.
void encode(const QString &path, double seconds, double frequencyHz, GstTagList *tags)
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    const QByteArray description =
        "audiotestsrc wave=sine samplesperbuffer=441 freq=" + QByteArray::number(frequencyHz)
        + " num-buffers=" + QByteArray::number(std::max(1, int(std::lround(seconds * 100))))
        + " ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! lamemp3enc encoding-engine-quality=fast"
        + (tags ? " ! id3v2mux name=tags" : "") + " ! filesink name=file";
    GError *error = nullptr;
    GstElement *pipeline = gst_parse_launch(description.constData(), &error);
    if (!pipeline || error)
        qFatal("makeMp3: GStreamer cannot encode: %s", error ? error->message : "");
    // Set apart from the description, so the path may hold anything.
    GstElement *file = gst_bin_get_by_name(GST_BIN(pipeline), "file");
    g_object_set(file, "location", path.toLocal8Bit().constData(), nullptr);
    gst_object_unref(file);
    if (tags) {
        GstElement *muxer = gst_bin_get_by_name(GST_BIN(pipeline), "tags");
        gst_tag_setter_merge_tags(GST_TAG_SETTER(muxer), tags, GST_TAG_MERGE_REPLACE);
        gst_object_unref(muxer);
    }

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

} // namespace

void makeMp3(const QString &path, double seconds, double frequencyHz)
{
    encode(path, seconds, frequencyHz, nullptr);
}

void makeTaggedMp3(const QString &path, double seconds, const QString &tags, const QByteArray &cover,
                   const char *coverType)
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    GstTagList *list = gst_tag_list_new_from_string(("taglist," + tags).toUtf8().constData());
    if (!list)
        qFatal("makeTaggedMp3: not a tag list: %s", qPrintable(tags));
    if (!cover.isEmpty()) {
        GstBuffer *bytes = gst_buffer_new_memdup(cover.constData(), gsize(cover.size()));
        GstCaps *caps = gst_caps_new_empty_simple(coverType);
        GstSample *picture = gst_sample_new(bytes, caps, nullptr, nullptr);
        gst_tag_list_add(list, GST_TAG_MERGE_APPEND, GST_TAG_IMAGE, picture, nullptr);
        gst_sample_unref(picture);
        gst_caps_unref(caps);
        gst_buffer_unref(bytes);
    }
    encode(path, seconds, 440, list);
    gst_tag_list_unref(list);
}

QString sampleMp3(double seconds)
{
    static QTemporaryDir dir;
    static std::map<double, QString> made;
    QString &path = made[seconds];
    if (path.isEmpty())
        makeMp3(path = dir.filePath(QString("%1s.mp3").arg(seconds)), seconds);
    return path;
}
