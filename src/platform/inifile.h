// ReadIni and WriteIni: how every part of the program reads and writes its
// profile files (the preferences file and the style files).
#pragma once

#include <QString>

// The value stored under the section and key, or "" when there is none.
// The key is looked up lower-cased, and the value comes back cut to 749
// characters, the reader's 750-character buffer less its terminator.
QString ReadIni(const QString &section, const QString &key, const QString &file);

// ReadIni for a value that names a folder or a file: the value's own bytes,
// so that a name that is not UTF-8 still names its folder, escaped as
// decodeFileName does (the form WriteIni stores as those bytes); "" when
// there is none, and not cut.
QString ReadIniFileName(const QString &section, const QString &key, const QString &file);

// Stores the value under the upper-cased key, so keys the program creates
// read "MP3 PATH", "HANDLE". Callers may ignore the result: a failed write
// is not reported to the user.
bool WriteIni(const QString &section, const QString &key, const QString &value, const QString &file);
