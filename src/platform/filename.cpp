#include "platform/filename.h"

#include <QStringDecoder>

namespace {

constexpr char16_t EscapeBase = 0xDC00;

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at the front of the bytes, 0 if
// there is none (overlong forms, surrogates and code points past U+10FFFF
// are not valid).
qsizetype validSequence(QByteArrayView bytes)
{
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80)
        return 1;
    const qsizetype length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4                                    ? 4
                                                                                               : 0;
    if (length == 0 || bytes.size() < length)
        return 0;
    for (qsizetype i = 1; i < length; ++i)
        if (!isContinuation(static_cast<unsigned char>(bytes[i])))
            return 0;
    const auto second = static_cast<unsigned char>(bytes[1]);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90)
        || (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

bool isEscape(QStringView name, qsizetype i)
{
    return name[i].unicode() >= EscapeBase + 0x80 && name[i].unicode() <= EscapeBase + 0xFF
           && (i == 0 || !name[i - 1].isHighSurrogate());
}

} // namespace

QString decodeFileName(QByteArrayView name)
{
    // A leading byte-order mark is part of the name.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(name);
    if (!utf8.hasError())
        return text;
    text.clear();
    for (qsizetype i = 0; i < name.size();) {
        if (const qsizetype length = validSequence(name.sliced(i))) {
            text += QString::fromUtf8(name.sliced(i, length));
            i += length;
        } else {
            text += QChar(EscapeBase + static_cast<unsigned char>(name[i++]));
        }
    }
    return text;
}

QByteArray encodeFileName(QStringView name)
{
    QByteArray bytes;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!isEscape(name, i))
            continue;
        bytes += name.sliced(runStart, i - runStart).toUtf8();
        bytes += char(name[i].unicode() - EscapeBase);
        runStart = i + 1;
    }
    bytes += name.sliced(runStart).toUtf8();
    return bytes;
}
