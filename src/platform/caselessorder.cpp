#include "platform/caselessorder.h"

#include "platform/asciitext.h"
#include "platform/caseforms.h"

#include <QtEndian>

#include <algorithm>
#include <string_view>

namespace {

// A name's folded form as bytes: each UTF-16 code unit in one byte when it
// is ASCII and in UTF-8's two or three otherwise. The scheme keeps the
// order of the units, so comparing the bytes orders the names as comparing
// their folded QStrings does, and eight bytes of a key fit in one number.
void appendKey(std::vector<char> &keys, CaseForms &forms, QByteArrayView name)
{
    if (isAscii(name)) {
        for (const char byte : name)
            keys.push_back(asciiLowered(byte));
        return;
    }
    forms.forEachFolded(decodeUtf8KeepingMark(name), [&keys](QStringView folded) {
        for (QChar c : folded) {
            const char16_t u = c.unicode();
            if (u < 0x80) {
                keys.push_back(char(u));
            } else if (u < 0x800) {
                keys.push_back(char(0xC0 | u >> 6));
                keys.push_back(char(0x80 | (u & 0x3F)));
            } else {
                keys.push_back(char(0xE0 | u >> 12));
                keys.push_back(char(0x80 | (u >> 6 & 0x3F)));
                keys.push_back(char(0x80 | (u & 0x3F)));
            }
        }
    });
}

// Sorts by eight bytes of the keys at a time, held beside each index, and
// sorts each run of equal bytes by the next eight: comparisons then read
// no key, and a key is read once per round rather than per comparison.
// Names with a long common beginning cost a pass over them per eight bytes.
class Sorter
{
public:
    explicit Sorter(const PackedNames &names)
        : m_names(names)
    {
        m_keys.reserve(std::size_t(names.text.size()));
        m_keyEnds.reserve(names.ends.size());
        CaseForms forms;
        for (qsizetype index = 0; index < names.size(); ++index) {
            appendKey(m_keys, forms, names.at(index));
            m_keyEnds.push_back(quint32(m_keys.size()));
        }
    }

    std::vector<quint32> order()
    {
        std::vector<Entry> entries(std::size_t(m_names.size()));
        for (std::size_t index = 0; index < entries.size(); ++index)
            entries[index].index = quint32(index);
        sortFrom(entries.data(), entries.data() + entries.size(), 0);
        m_keys = std::vector<char>();
        m_keyEnds = std::vector<quint32>();
        std::vector<quint32> indexes;
        indexes.reserve(entries.size());
        for (const Entry &entry : entries)
            indexes.push_back(entry.index);
        return indexes;
    }

private:
    struct Entry {
        quint64 head = 0;
        quint32 index = 0;
    };

    // The key's eight bytes from depth on, zeros past its end: no key
    // holds a zero byte, so 0 is a key that has ended.
    quint64 headAt(quint32 index, qsizetype depth) const
    {
        const qsizetype start = qsizetype(index > 0 ? m_keyEnds[index - 1] : 0) + depth;
        const qsizetype left = qsizetype(m_keyEnds[index]) - start;
        if (left <= 0)
            return 0;
        const auto *bytes = reinterpret_cast<const uchar *>(m_keys.data()) + start;
        if (left >= 8)
            return qFromBigEndian<quint64>(bytes);
        quint64 head = 0;
        for (qsizetype i = 0; i < 8; ++i)
            head = head << 8 | (i < left ? bytes[i] : 0);
        return head;
    }

    // The key from depth on.
    std::string_view tail(quint32 index, qsizetype depth) const
    {
        const qsizetype start = qsizetype(index > 0 ? m_keyEnds[index - 1] : 0) + depth;
        return std::string_view(m_keys.data() + start,
                                std::size_t(std::max<qsizetype>(0, qsizetype(m_keyEnds[index]) - start)));
    }

    void sortFrom(Entry *first, Entry *last, qsizetype depth)
    {
        // A few names are quicker compared whole than sorted round by round.
        if (last - first <= 16) {
            std::sort(first, last, [this, depth](const Entry &a, const Entry &b) {
                const int order = tail(a.index, depth).compare(tail(b.index, depth));
                return order != 0 ? order < 0 : nameBefore(a, b);
            });
            return;
        }
        while (last - first > 1) {
            bool alike = true;
            for (Entry *entry = first; entry != last; ++entry) {
                entry->head = headAt(entry->index, depth);
                alike = alike && entry->head == first->head;
            }
            if (alike && first->head != 0) {
                depth += 8;
                continue;
            }
            if (alike) {
                sortByName(first, last);
                return;
            }
            std::sort(first, last, [](const Entry &a, const Entry &b) { return a.head < b.head; });
            for (Entry *run = first; run != last;) {
                Entry *runEnd = run + 1;
                while (runEnd != last && runEnd->head == run->head)
                    ++runEnd;
                if (runEnd - run > 1 && run->head == 0)
                    sortByName(run, runEnd);
                else if (runEnd - run > 1)
                    sortFrom(run, runEnd, depth + 8);
                run = runEnd;
            }
            return;
        }
    }

    // Names that fold alike, as "Abc" and "abc", keep one order all the
    // same: their UTF-16's, as a QString compares. UTF-8's bytes order ASCII
    // alike, and such ties are too few for decoding the others to matter.
    bool nameBefore(const Entry &a, const Entry &b) const
    {
        const QByteArrayView first = m_names.at(a.index);
        const QByteArrayView second = m_names.at(b.index);
        if (isAscii(first) && isAscii(second))
            return first.compare(second) < 0;
        return decodeUtf8KeepingMark(first).compare(decodeUtf8KeepingMark(second)) < 0;
    }

    void sortByName(Entry *first, Entry *last) const
    {
        std::sort(first, last, [this](const Entry &a, const Entry &b) { return nameBefore(a, b); });
    }

    const PackedNames &m_names;
    std::vector<char> m_keys;
    std::vector<quint32> m_keyEnds;
};

} // namespace

std::vector<quint32> caselessOrder(const PackedNames &names)
{
    return Sorter(names).order();
}
