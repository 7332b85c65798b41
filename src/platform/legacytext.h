// Profile files written by hand or by older tools on Windows come in the
// ANSI code page; files we write are UTF-8. This tells the two apart.
#pragma once

#include <QByteArrayView>
#include <QString>

struct DecodedText {
    QString text;
    bool hadByteOrderMark = false; // a UTF-8 BOM was stripped from the front
};

// UTF-8 when the bytes are valid UTF-8, else Windows-1252.
DecodedText decodeUtf8OrWindows1252(QByteArrayView bytes);
