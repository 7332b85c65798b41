#include "player/tracktags.h"

#include "platform/textcut.h"

#include <gst/gst.h>
#include <gst/tag/tag.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// A file may hold a picture for every purpose the tag format names.
constexpr guint PictureLimit = 32;
constexpr qsizetype MediaTypeLimit = 64;

// Cut before it is copied. A UTF-16 unit takes one to three bytes of UTF-8,
// so these bytes hold more whole characters than the limit, and a character
// cut off at their end lies beyond it.
QString boundedText(const gchar *text, qsizetype limit = TagTextLimit)
{
    const QString decoded = QString::fromUtf8(text, qsizetype(strnlen(text, size_t(limit) * 3 + 4))).trimmed();
    return decoded.left(wholeCharactersWithin(decoded, limit));
}

bool update(auto &kept, auto value)
{
    if (kept == value)
        return false;
    kept = std::move(value);
    return true;
}

bool mergeText(QString &kept, const GstTagList *list, const char *tag)
{
    const gchar *value = nullptr;
    return gst_tag_list_peek_string_index(list, tag, 0, &value) && update(kept, boundedText(value));
}

bool mergeArtists(QStringList &kept, const GstTagList *list)
{
    const guint count = std::min<guint>(gst_tag_list_get_tag_size(list, GST_TAG_ARTIST), TagArtistLimit);
    QStringList artists;
    for (guint i = 0; i < count; ++i) {
        const gchar *value = nullptr;
        if (gst_tag_list_peek_string_index(list, GST_TAG_ARTIST, i, &value))
            artists << boundedText(value);
    }
    return count > 0 && update(kept, artists);
}

bool mergeTrackNumber(int &kept, const GstTagList *list)
{
    guint number = 0;
    return gst_tag_list_get_uint(list, GST_TAG_TRACK_NUMBER, &number) && number <= INT_MAX
           && update(kept, int(number));
}

// The front cover if there is one, else the first picture.
GstSample *chosenPicture(const GstTagList *list)
{
    GstSample *first = nullptr;
    const guint count = std::min(gst_tag_list_get_tag_size(list, GST_TAG_IMAGE), PictureLimit);
    for (guint i = 0; i < count; ++i) {
        const GValue *value = gst_tag_list_get_value_index(list, GST_TAG_IMAGE, i);
        GstSample *picture = value && GST_VALUE_HOLDS_SAMPLE(value) ? gst_value_get_sample(value) : nullptr;
        if (!picture)
            continue;
        const GstStructure *info = gst_sample_get_info(picture);
        gint type = GST_TAG_IMAGE_TYPE_UNDEFINED;
        if (info && gst_structure_get_enum(info, "image-type", GST_TYPE_TAG_IMAGE_TYPE, &type)
            && type == GST_TAG_IMAGE_TYPE_FRONT_COVER)
            return picture;
        if (!first)
            first = picture;
    }
    return first;
}

// A picture over the limit, or one that is only a link, counts as none:
// it is never copied.
bool mergeCover(TrackTags &tags, const GstTagList *list)
{
    if (gst_tag_list_get_tag_size(list, GST_TAG_IMAGE) == 0)
        return false;
    GstSample *picture = chosenPicture(list);
    GstBuffer *bytes = picture ? gst_sample_get_buffer(picture) : nullptr;
    const GstCaps *caps = picture ? gst_sample_get_caps(picture) : nullptr;
    const gsize size = bytes ? gst_buffer_get_size(bytes) : 0;
    const QString type = caps && gst_caps_get_size(caps) > 0
                             ? boundedText(gst_structure_get_name(gst_caps_get_structure(caps, 0)), MediaTypeLimit)
                             : QString();
    if (size == 0 || size > gsize(TagCoverLimit) || !type.startsWith("image/")) {
        const bool had = !tags.coverType.isEmpty();
        tags.cover.clear();
        tags.coverType.clear();
        return had;
    }
    // Every later message of the track repeats the picture: compared in place.
    if (type == tags.coverType && gsize(tags.cover.size()) == size
        && gst_buffer_memcmp(bytes, 0, tags.cover.constData(), size) == 0)
        return false;
    tags.cover.resize(qsizetype(size));
    gst_buffer_extract(bytes, 0, tags.cover.data(), size);
    tags.coverType = type;
    return true;
}

} // namespace

bool MergeTags(TrackTags &tags, const GstTagList *list)
{
    // Each is merged whether or not another changed.
    bool changed = mergeText(tags.title, list, GST_TAG_TITLE);
    changed |= mergeArtists(tags.artists, list);
    changed |= mergeText(tags.album, list, GST_TAG_ALBUM);
    changed |= mergeTrackNumber(tags.trackNumber, list);
    changed |= mergeCover(tags, list);
    return changed;
}
