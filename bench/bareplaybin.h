// A playbin and nothing around it, on one file into a given sink: the floor
// of what the player itself does to play that file.
#pragma once

#include <QFile>
#include <QString>

#include <gst/gst.h>

class BarePlaybin
{
public:
    // The sink is taken, floating or not.
    BarePlaybin(const QString &path, GstElement *sink)
        : m_playbin(gst_element_factory_make("playbin", nullptr))
    {
        gchar *uri = gst_filename_to_uri(QFile::encodeName(path).constData(), nullptr);
        g_object_set(m_playbin, "audio-sink", sink, "uri", uri, nullptr);
        g_free(uri);
    }
    ~BarePlaybin()
    {
        gst_element_set_state(m_playbin, GST_STATE_NULL);
        gst_object_unref(m_playbin);
    }
    BarePlaybin(const BarePlaybin &) = delete;
    BarePlaybin &operator=(const BarePlaybin &) = delete;

    GstElement *element() const { return m_playbin; }

    // Stopped, with the file let go, and ready to start again.
    void ready()
    {
        gst_element_set_state(m_playbin, GST_STATE_READY);
        gst_element_get_state(m_playbin, nullptr, nullptr, GST_CLOCK_TIME_NONE);
    }

private:
    GstElement *m_playbin;
};
