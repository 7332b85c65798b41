// Plain ASCII, which most file names and searched words are: told apart,
// and lowered, without Unicode's tables or a new string.
#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <algorithm>

inline bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

inline bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char byte) { return uchar(byte) < 0x80; });
}

inline bool isAsciiCapital(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

// An ASCII character lowered, as the byte it is.
inline char asciiLowered(QChar c)
{
    return char(isAsciiCapital(c) ? c.unicode() + ('a' - 'A') : c.unicode());
}

inline char asciiLowered(char byte)
{
    return byte >= 'A' && byte <= 'Z' ? char(byte + ('a' - 'A')) : byte;
}
