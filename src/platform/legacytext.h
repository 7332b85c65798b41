// Profile files written by hand or by older tools on Windows come in the
// ANSI code page; files we write are UTF-8. This tells the two apart.
#pragma once

#include <QByteArrayView>
#include <QString>

struct DecodedText {
    QString text;
    bool windows1252 = false; // then one character per byte, in order
};

// Valid UTF-8 as text, a leading byte-order mark included: in a file's
// name, or wherever the caller knows the bytes do not start a file, it is
// a character like any other.
QString decodeUtf8KeepingMark(QByteArrayView bytes);

// UTF-8 when the bytes are valid UTF-8, else Windows-1252. A byte-order mark
// is text here: the caller knows whether the bytes start a file.
DecodedText decodeUtf8OrWindows1252(QByteArrayView bytes);
