#include "platform/lowerednames.h"

#include "platform/asciitext.h"
#include "platform/caseforms.h"

#include <algorithm>
#include <string_view>

LoweredNames::LoweredNames(const PackedNames &names)
{
    m_forms.ends.reserve(names.ends.size());
    // Most names are ASCII and lower to as many bytes: room for them at once.
    m_forms.text.reserve(names.text.size());
    CaseForms forms;
    for (qsizetype index = 0; index < names.size(); ++index) {
        const QByteArrayView name = names.at(index);
        if (isAscii(name)) {
            const qsizetype at = m_forms.text.size();
            m_forms.text.append(name);
            char *const form = m_forms.text.data() + at;
            std::transform(form, form + name.size(), form, [](char byte) { return asciiLowered(byte); });
        } else {
            forms.appendLowered(m_forms.text, decodeUtf8KeepingMark(name));
        }
        m_forms.ends.push_back(quint32(m_forms.text.size()));
    }
}

// std::string_view::find (memchr for the first byte, then a compare) rather
// than memmem: memmem sets up tables on every call, which a search finding
// every name pays once per name, and is slow for words of two bytes.
std::vector<quint32> LoweredNames::indexesHoldingBytes(QByteArrayView bytes) const
{
    std::vector<quint32> found;
    const std::string_view text(m_forms.text.constData(), std::size_t(m_forms.text.size()));
    const std::string_view word(bytes.data(), std::size_t(bytes.size()));
    const std::vector<quint32> &ends = m_forms.ends;
    std::size_t entry = 0;
    for (std::size_t at = text.find(word); at != std::string_view::npos;) {
        // The names between two places found are passed over in order; a
        // place that runs over into the next name is none.
        while (ends[entry] <= at)
            ++entry;
        const std::size_t end = ends[entry];
        if (at + word.size() <= end) {
            found.push_back(quint32(entry));
            at = text.find(word, end);
        } else {
            at = text.find(word, at + 1);
        }
    }
    return found;
}

std::vector<quint32> LoweredNames::indexesHoldingUnits(const QString &word) const
{
    std::vector<quint32> found;
    for (qsizetype index = 0; index < m_forms.size(); ++index)
        if (decodeUtf8KeepingMark(m_forms.at(index)).contains(word))
            found.push_back(quint32(index));
    return found;
}

std::vector<quint32> LoweredNames::indexesHolding(const QString &word) const
{
    const QString lowered = word.toLower();
    if (lowered.isEmpty() || !QStringView(lowered).isValidUtf16())
        return indexesHoldingUnits(lowered);
    return indexesHoldingBytes(lowered.toUtf8());
}
