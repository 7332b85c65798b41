#include "platform/lowerednames.h"

#include "platform/caseforms.h"

#include <algorithm>
#include <string_view>

LoweredNames::LoweredNames(const QStringList &names)
{
    m_ends.reserve(std::size_t(names.size()));
    // Most names are ASCII and lower to as many bytes: room for them at once.
    qsizetype length = 0;
    for (const QString &name : names)
        length += name.size();
    m_forms.reserve(length);
    CaseForms forms;
    for (const QString &name : names) {
        forms.appendLowered(m_forms, name);
        m_ends.push_back(m_forms.size());
    }
    m_forms.squeeze();
}

QByteArrayView LoweredNames::form(qsizetype index) const
{
    const qsizetype start = index > 0 ? m_ends[std::size_t(index - 1)] : 0;
    return QByteArrayView(m_forms.constData() + start, m_ends[std::size_t(index)] - start);
}

// std::string_view::find (memchr for the first byte, then a compare) rather
// than memmem: memmem sets up tables on every call, which a search finding
// every name pays once per name, and is slow for words of two bytes.
std::vector<quint32> LoweredNames::indexesHolding(QByteArrayView bytes) const
{
    std::vector<quint32> found;
    const std::string_view text(m_forms.constData(), std::size_t(m_forms.size()));
    const std::string_view word(bytes.data(), std::size_t(bytes.size()));
    std::size_t entry = 0;
    for (std::size_t at = text.find(word); at != std::string_view::npos;) {
        // The names between two places found are passed over in order; a
        // place that runs over into the next name is none.
        while (std::size_t(m_ends[entry]) <= at)
            ++entry;
        const auto end = std::size_t(m_ends[entry]);
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
    for (std::size_t index = 0; index < m_ends.size(); ++index)
        if (QString::fromUtf8(form(qsizetype(index))).contains(word))
            found.push_back(quint32(index));
    return found;
}

QStringList LoweredNames::holding(const QStringList &names, const QString &word) const
{
    const bool whole = names.size() == qsizetype(m_ends.size());
    // Every name holds the empty word: the list is shared, not gathered.
    if (word.isEmpty() && whole)
        return names;
    const QString lowered = word.toLower();
    const std::vector<quint32> found =
        lowered.isEmpty() || !QStringView(lowered).isValidUtf16()
            ? indexesHoldingUnits(lowered)
            : indexesHolding(lowered.toUtf8());
    if (whole && found.size() == m_ends.size())
        return names;
    QStringList matches;
    matches.reserve(qsizetype(found.size()));
    for (const quint32 index : found)
        if (index < names.size())
            matches.append(names[index]);
    return matches;
}
