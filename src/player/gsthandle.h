// Owning handles for what GStreamer and GLib hand over with a reference or
// an allocation of the caller's, so that every path lets go of it exactly
// once. The releases live in the .cpp: holders need no GStreamer headers.
#pragma once

#include <memory>

typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;
typedef struct _GError GError;

struct GstObjectUnref {
    void operator()(void *object) const;
};
// A pipeline is let go in NULL, where its threads and devices are gone.
struct GstPipelineStop {
    void operator()(GstElement *pipeline) const;
};
struct GstMessageUnref {
    void operator()(GstMessage *message) const;
};
struct GErrorFree {
    void operator()(GError *error) const;
};
struct GFree {
    void operator()(void *memory) const;
};

// For a reference of our own: never a floating one, which gst_object_ref_sink
// turns into ours first.
template <typename T>
using GstHandle = std::unique_ptr<T, GstObjectUnref>;
using GstPipelineHandle = std::unique_ptr<GstElement, GstPipelineStop>;
using GstMessageHandle = std::unique_ptr<GstMessage, GstMessageUnref>;
using GErrorHandle = std::unique_ptr<GError, GErrorFree>;
template <typename T>
using GMemory = std::unique_ptr<T, GFree>;
