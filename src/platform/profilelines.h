// A profile file's bytes as lines. Each line is decoded on its own, so
// that one line in another encoding does not change how the others read,
// and a write copies every line it does not change byte for byte.
#pragma once

#include "platform/legacytext.h"

#include <QByteArray>
#include <QString>

// A line's text is [start, end); its line break, empty on a last line
// without one, is [end, next). Offsets are in bytes of the file.
struct ProfileLine {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

class ProfileBytes
{
public:
    // A file that starts with a UTF-16 byte-order mark (either order) is
    // UTF-16, less an odd byte at its end; any other holds lines of UTF-8
    // or Windows-1252.
    explicit ProfileBytes(QByteArray bytes);

    const QByteArray &bytes() const { return m_bytes; }
    // Each line reads as UTF-8 when it is valid UTF-8, else as Windows-1252.
    DecodedText decode(const ProfileLine &line) const;
    // New text goes in as UTF-8 (a name escaped by decodeFileName as its
    // own bytes), or in the file's UTF-16.
    QByteArray encode(QStringView text) const;
    bool isCrLf(const ProfileLine &line) const { return line.next - line.end == 2 * unitSize(); }

private:
    enum class Encoding { Utf8OrWindows1252, Utf16LE, Utf16BE };
    friend class ProfileLineReader;

    qsizetype unitSize() const { return m_encoding == Encoding::Utf8OrWindows1252 ? 1 : 2; }
    char16_t unit(qsizetype at) const;

    QByteArray m_bytes;
    Encoding m_encoding = Encoding::Utf8OrWindows1252;
    qsizetype m_textStart = 0; // after a byte-order mark
};

// Lines end at CRLF, LF or a lone CR.
class ProfileLineReader
{
public:
    explicit ProfileLineReader(const ProfileBytes &file) : m_file(file), m_pos(file.m_textStart) {}
    bool next(ProfileLine &line);

private:
    const ProfileBytes &m_file;
    qsizetype m_pos = 0;
};
