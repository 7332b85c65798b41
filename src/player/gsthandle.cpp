#include "player/gsthandle.h"

#include <gst/gst.h>

void GstObjectUnref::operator()(void *object) const
{
    gst_object_unref(object);
}

void GstPipelineStop::operator()(GstElement *pipeline) const
{
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
}

void GstMessageUnref::operator()(GstMessage *message) const
{
    gst_message_unref(message);
}

void GErrorFree::operator()(GError *error) const
{
    g_error_free(error);
}

void GFree::operator()(void *memory) const
{
    g_free(memory);
}
