#include "platform/lowerednames.h"

#include "platform/asciitext.h"

#include <algorithm>
#include <cstring>

namespace {

bool fitsLatin1(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
}

} // namespace

LoweredNames::LoweredNames(const QStringList &names)
{
    m_ends.reserve(names.size());
    for (const QString &name : names)
        append(name);
    m_forms.squeeze();
}

void LoweredNames::append(const QString &name)
{
    const qsizetype start = m_forms.size();
    // Plain ASCII, the common name, is lowered here without a QString.
    if (isAscii(name)) {
        if (std::none_of(name.begin(), name.end(), isAsciiCapital)) {
            m_ends.append(quint64(start) << 1);
            return;
        }
        m_forms.resize(start + name.size());
        char *out = m_forms.data() + start;
        for (QChar c : name)
            *out++ = asciiLowered(c);
        m_ends.append(quint64(m_forms.size()) << 1);
        return;
    }
    // Lowered as the search did, never in place: that differs for a name
    // that grows and ends in half a surrogate pair.
    const QString lowered = name.toLower();
    if (lowered == name) {
        m_ends.append(quint64(start) << 1);
    } else if (fitsLatin1(lowered)) {
        m_forms.resize(start + lowered.size());
        char *out = m_forms.data() + start;
        for (QChar c : lowered)
            *out++ = char(c.unicode());
        m_ends.append(quint64(m_forms.size()) << 1);
    } else {
        const qsizetype aligned = start + (start & 1);
        m_forms.resize(aligned + 2 * lowered.size());
        std::memcpy(m_forms.data() + aligned, lowered.utf16(), std::size_t(2 * lowered.size()));
        m_ends.append(quint64(m_forms.size()) << 1 | 1);
    }
}

QStringList LoweredNames::holding(const QStringList &names, const QString &word) const
{
    // Every name holds the empty word: the list is shared, not gathered.
    if (word.isEmpty() && names.size() == m_ends.size())
        return names;
    const QString lowered = word.toLower();
    // A form in Latin-1 holds no character beyond it.
    const bool wordFitsLatin1 = fitsLatin1(lowered);
    const QByteArray latin1 = wordFitsLatin1 ? lowered.toLatin1() : QByteArray();
    const qsizetype count = std::min(names.size(), m_ends.size());
    QStringList found;
    qsizetype start = 0;
    for (qsizetype index = 0; index < count; ++index) {
        const quint64 end = m_ends[index];
        const qsizetype stop = qsizetype(end >> 1);
        bool holds = false;
        if (stop == start) {
            holds = QStringView(names[index]).contains(lowered);
        } else if (end & 1) {
            const qsizetype aligned = start + (start & 1);
            const auto *form = reinterpret_cast<const char16_t *>(m_forms.constData() + aligned);
            holds = QStringView(form, (stop - aligned) / 2).contains(lowered);
        } else {
            holds = wordFitsLatin1 && QByteArrayView(m_forms.constData() + start, stop - start).contains(latin1);
        }
        if (holds)
            found.append(names[index]);
        start = stop;
    }
    return found;
}
