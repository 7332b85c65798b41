// A desktop shows the playing track's cover from a file: the picture from
// the track's tags is written to the user's cache, once for each picture.
#pragma once

#include <QByteArray>
#include <QString>

// The file:// URL of the picture in $XDG_CACHE_HOME/dun2, named by its hash,
// so that a cover many tracks share is written once, and never seen half
// written; "" where it cannot be written.
QString CoverFileUrl(const QByteArray &picture, const QString &mediaType);
