// What the playing file says of itself in its tags, as far as a face shows
// it. The tags are written by whoever made the file: every text is cut to a
// size and a cover over its size is left out, however large the tag.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

typedef struct _GstTagList GstTagList;

struct TrackTags {
    QString title;
    QStringList artists;
    QString album;
    int trackNumber = 0; // 0: not told
    QByteArray cover;    // the front cover's picture, else the first one
    QString coverType;   // its media type, "image/png"

    bool operator==(const TrackTags &) const = default;
};

// The longest text kept of one tag, in UTF-16 units; the most artists kept;
// the largest cover kept, in bytes.
inline constexpr qsizetype TagTextLimit = 1024;
inline constexpr int TagArtistLimit = 16;
inline constexpr qsizetype TagCoverLimit = 4 * 1024 * 1024;

// Takes over what the list tells; what it does not tell stays as it was.
// True when anything changed.
bool MergeTags(TrackTags &tags, const GstTagList *list);
