// Small files read and replaced whole, by their names as the file system
// holds them (see filename.h).
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A missing file reads as empty; nullopt is a file that is there but cannot
// be read, or is no regular file (a FIFO or a device would block the read).
std::optional<QByteArray> readWholeFile(const QString &path);

// Puts the contents in place of the file (of the file a symbolic link names)
// through a new copy beside it and one rename: a crash or a full disk
// leaves the old file whole and no half one. The copy keeps the old file's
// owner, group and permission bits, so a write by root does not take a
// user's file away; a new file gets 0666 less the umask. False when it
// could not be done; the old file is then as it was, and no copy is left.
bool replaceWholeFile(const QString &path, QByteArrayView contents);
