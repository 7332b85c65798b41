#include "platform/terminaltext.h"

#include <algorithm>

namespace {

bool needsEscape(QChar c)
{
    const char16_t u = c.unicode();
    return c.category() == QChar::Other_Control || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
}

} // namespace

QByteArray TerminalText(const QString &text)
{
    if (std::none_of(text.begin(), text.end(), needsEscape))
        return text.toUtf8();
    QString escaped;
    for (QChar c : text) {
        if (!needsEscape(c))
            escaped += c;
        else if (c == '\n')
            escaped += "\\n";
        else if (c == '\r')
            escaped += "\\r";
        else if (c == '\t')
            escaped += "\\t";
        else if (c.unicode() < 0x80)
            escaped += QString("\\x%1").arg(c.unicode(), 2, 16, QChar('0'));
        else
            escaped += QString("\\u%1").arg(c.unicode(), 4, 16, QChar('0'));
    }
    return escaped.toUtf8();
}
