#include "platform/namelist.h"

#include "platform/lowerednames.h"

#include <algorithm>

struct NameList::Store {
    PackedNames names;
    LoweredNames lowered;
};

NameList::NameList(const QStringList &names)
{
    if (names.isEmpty())
        return;
    PackedNames packed;
    packed.ends.reserve(std::size_t(names.size()));
    for (const QString &name : names)
        packed.append(name.toUtf8());
    *this = NameList(std::move(packed), Search::No);
}

NameList::NameList(PackedNames names, Search search)
{
    if (names.ends.empty())
        return;
    auto store = std::make_shared<Store>();
    if (search == Search::Yes)
        store->lowered = LoweredNames(names);
    store->names = std::move(names);
    m_store = std::move(store);
}

NameList::NameList(std::shared_ptr<const Store> store, std::vector<quint32> rows)
    : m_store(std::move(store))
    , m_rows(std::make_shared<const std::vector<quint32>>(std::move(rows)))
{
}

qsizetype NameList::size() const
{
    return m_rows ? qsizetype(m_rows->size()) : m_store ? m_store->names.size() : 0;
}

QByteArrayView NameList::utf8At(qsizetype row) const
{
    if (row < 0 || row >= size())
        return {};
    return m_store->names.at(indexOfRow(row));
}

qsizetype NameList::indexOf(const QString &name) const
{
    const QByteArray wanted = name.toUtf8();
    for (qsizetype row = 0; row < size(); ++row)
        if (utf8At(row) == QByteArrayView(wanted))
            return row;
    return -1;
}

NameList NameList::holding(const QString &word) const
{
    if (!m_store)
        return {};
    // A list made without its forms (a few names, never a folder's) makes
    // them for this search alone.
    const bool searchable = m_store->lowered.size() == m_store->names.size();
    std::vector<quint32> found = searchable ? m_store->lowered.indexesHolding(word)
                                            : LoweredNames(m_store->names).indexesHolding(word);
    if (m_rows) {
        // Both in the store's order: the rows shown that were found.
        std::vector<quint32> shown;
        std::set_intersection(m_rows->begin(), m_rows->end(), found.begin(), found.end(), std::back_inserter(shown));
        found = std::move(shown);
    }
    if (found.size() == std::size_t(size()))
        return *this;
    if (found.empty())
        return {};
    return NameList(m_store, std::move(found));
}

NameList NameList::operator+(const NameList &more) const
{
    if (more.isEmpty())
        return *this;
    if (isEmpty())
        return more;
    PackedNames packed;
    packed.ends.reserve(std::size_t(size() + more.size()));
    for (const NameList *list : {this, &more})
        for (qsizetype row = 0; row < list->size(); ++row)
            packed.append(list->utf8At(row));
    return NameList(std::move(packed), Search::No);
}

bool NameList::operator==(const NameList &other) const
{
    if (size() != other.size())
        return false;
    if (m_store == other.m_store && m_rows == other.m_rows)
        return true;
    for (qsizetype row = 0; row < size(); ++row)
        if (utf8At(row) != other.utf8At(row))
            return false;
    return true;
}

QStringList NameList::toStringList() const
{
    QStringList names;
    names.reserve(size());
    for (qsizetype row = 0; row < size(); ++row)
        names.append(at(row));
    return names;
}
