// Reading a folder for a file list: the names of its files that match a
// pattern, sorted by name without regard to case, ready to be searched.
// Touches nothing but its own data, so it may run on any thread.
//
// Names are shown as well as they decode (UTF-8, else Windows-1252, as old
// Windows copies come); the file itself is found by its bytes.
#pragma once

#include "platform/namelist.h"

#include <QByteArray>
#include <QHash>
#include <QString>

struct FolderListing {
    NameList names;
    // The bytes of the few names that their decoded form does not give back.
    QHash<QString, QByteArray> rawNames;
};

// A folder that is missing, unreadable or a file gives an empty list. The
// pattern is a file list box's: wildcards, letter case ignored, several
// patterns separated by ";", and "*.*" for every file, dot or not.
FolderListing listFolder(const QString &path, const QString &pattern);
