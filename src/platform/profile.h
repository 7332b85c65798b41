// Our stand-in for the Windows profile-string functions
// (GetPrivateProfileStringA, WritePrivateProfileStringA). QSettings will not
// do: its INI keys are case-sensitive and it rewrites the whole file in its
// own layout, where callers expect hand-edited files to survive a write.
#pragma once

#include <QString>

// Returns at most bufferSize - 1 characters of the value (the platform's
// buffer cut; a UTF-16 surrogate pair is never split), or defaultValue, cut
// the same way, when the file, the section or the key is not there or the
// file cannot be read.
QString getPrivateProfileString(const QString &section, const QString &key, const QString &defaultValue,
                                int bufferSize, const QString &filePath);

// Stores the value, creating the file, the section or the key as needed.
// Returns false when the file could not be written; the old file is then
// left whole.
bool writePrivateProfileString(const QString &section, const QString &key, const QString &value,
                               const QString &filePath);
