#include "platform/caseforms.h"

void CaseForms::appendLowered(QByteArray &out, QStringView text)
{
    for (qsizetype i = 0; i < text.size();) {
        const QChar unit = text[i];
        if (unit.unicode() < 0x80) {
            out.append(asciiLowered(unit));
            ++i;
            continue;
        }
        const Character c = characterAt(text, i);
        out.append(formsOf(c).lowered);
        i += c.length;
    }
}

CaseForms::Character CaseForms::characterAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text[i + 1]), 2, false};
    return {c.unicode(), 1, c.isSurrogate()};
}

const CaseForms::Forms &CaseForms::formsOf(const Character &c)
{
    // A surrogate's own value is no code point's, so the two never meet.
    const auto known = m_known.find(c.value);
    if (known != m_known.end())
        return known->second;
    const QString whole = c.alone ? QString(QChar(char16_t(c.value))) : QString::fromUcs4(&c.value, 1);
    return m_known.emplace(c.value, Forms{whole.toLower().toUtf8(), whole.toCaseFolded()}).first->second;
}
