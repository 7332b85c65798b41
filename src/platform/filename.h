// File names are bytes, and those copied from old machines are often not
// UTF-8. A QString carries such a name with each byte that does not decode
// as a lone surrogate, U+DC80 + the byte (Python's "surrogateescape"), so
// that encoding it gives back the very name; Qt's own conversion turns
// those bytes into U+FFFD and the name no longer names its file.
#pragma once

#include <QByteArrayView>
#include <QString>

QString decodeFileName(QByteArrayView name);
// Also takes any other text, as UTF-8.
QByteArray encodeFileName(QStringView name);
