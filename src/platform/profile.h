// Our stand-in for the Windows profile-string functions
// (GetPrivateProfileStringA, WritePrivateProfileStringA). QSettings will not
// do: its INI keys are case-sensitive and it rewrites the whole file in its
// own layout, where callers expect hand-edited files to survive a write.
// File paths are file names as decodeFileName gives them.
#pragma once

#include <QString>

// Each line reads as UTF-8 when it is valid UTF-8, else as Windows-1252; a
// file with a UTF-16 byte-order mark (either order) reads as UTF-16.
// Returns at most bufferSize - 1 characters of the value (the platform's
// buffer cut; a UTF-16 surrogate pair is never split), or defaultValue, cut
// the same way, when the file, the section or the key is not there or the
// file cannot be read.
QString getPrivateProfileString(const QString &section, const QString &key, const QString &defaultValue,
                                int bufferSize, const QString &filePath);

// The value as the name of a file: its own bytes, escaped as decodeFileName
// does where they are not UTF-8, so that a folder named in Latin-1 is found
// again; "" when the key is not there. Not cut to any buffer.
QString getPrivateProfileFileName(const QString &section, const QString &key, const QString &filePath);

// Stores the value, creating the file, the section or the key as needed.
// Only the line of the key changes (or new lines are added); every other
// line keeps its bytes. New text is UTF-8, where a name escaped by
// decodeFileName goes in as its own bytes, or UTF-16 in a file that starts
// with a UTF-16 byte-order mark. The file keeps its owner and mode. Returns
// false when the file could not be written; the old file is then left whole.
bool writePrivateProfileString(const QString &section, const QString &key, const QString &value,
                               const QString &filePath);
