#include "platform/profilelines.h"

#include "platform/filename.h"

#include <utility>

ProfileBytes::ProfileBytes(QByteArray bytes) : m_bytes(std::move(bytes))
{
    if (m_bytes.startsWith("\xFF\xFE"))
        m_encoding = Encoding::Utf16LE;
    else if (m_bytes.startsWith("\xFE\xFF"))
        m_encoding = Encoding::Utf16BE;
    m_textStart = m_encoding != Encoding::Utf8OrWindows1252 ? 2 : m_bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    // Half a unit at the end of a UTF-16 file is no text. Kept, it would
    // put every line a write adds after it out of step by one byte.
    if (m_encoding != Encoding::Utf8OrWindows1252 && m_bytes.size() % 2 != 0)
        m_bytes.chop(1);
}

char16_t ProfileBytes::unit(qsizetype at) const
{
    const auto byte = [this](qsizetype i) { return char16_t(static_cast<unsigned char>(m_bytes[i])); };
    switch (m_encoding) {
    case Encoding::Utf16LE:
        return char16_t(byte(at) | byte(at + 1) << 8);
    case Encoding::Utf16BE:
        return char16_t(byte(at) << 8 | byte(at + 1));
    case Encoding::Utf8OrWindows1252:
        break;
    }
    return byte(at);
}

DecodedText ProfileBytes::decode(const ProfileLine &line) const
{
    if (m_encoding == Encoding::Utf8OrWindows1252)
        return decodeUtf8OrWindows1252(QByteArrayView(m_bytes).sliced(line.start, line.end - line.start));
    DecodedText decoded;
    for (qsizetype at = line.start; at + 2 <= line.end; at += 2)
        decoded.text += QChar(unit(at)); // as they are, lone surrogates too
    return decoded;
}

QByteArray ProfileBytes::encode(QStringView text) const
{
    if (m_encoding == Encoding::Utf8OrWindows1252)
        return encodeFileName(text);
    QByteArray out;
    out.reserve(2 * text.size());
    const bool littleEndian = m_encoding == Encoding::Utf16LE;
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xFF);
        out.append(littleEndian ? low : high).append(littleEndian ? high : low);
    }
    return out;
}

bool ProfileLineReader::next(ProfileLine &line)
{
    const qsizetype size = m_file.m_bytes.size();
    const qsizetype unit = m_file.unitSize();
    const auto isLineBreak = [this](qsizetype at) { return m_file.unit(at) == u'\r' || m_file.unit(at) == u'\n'; };
    if (m_pos >= size)
        return false;
    line.start = m_pos;
    while (m_pos < size && !isLineBreak(m_pos))
        m_pos += unit;
    line.end = m_pos;
    if (m_pos < size) {
        const bool cr = m_file.unit(m_pos) == u'\r';
        m_pos += unit;
        if (cr && m_pos + unit <= size && m_file.unit(m_pos) == u'\n')
            m_pos += unit;
    }
    line.next = m_pos;
    return true;
}
