// A list box that is never shown: entries and one selected entry or none.
// The program keeps the name of the current track in one.
#pragma once

#include "platform/appendshared.h"
#include "platform/letgo.h"

#include <QStringList>

class ListBox
{
public:
    void clear()
    {
        letGo(m_items);
        m_index = -1;
    }
    void addItem(const QString &item) { m_items.append(item); }
    void addItems(const QStringList &items) { appendShared(m_items, items); }
    int listCount() const { return int(m_items.size()); }
    QString list(int index) const { return index >= 0 && index < m_items.size() ? m_items[index] : QString(); }
    const QStringList &items() const { return m_items; }
    int listIndex() const { return m_index; }
    // An index outside the list selects nothing.
    void setListIndex(int index) { m_index = index >= 0 && index < m_items.size() ? index : -1; }
    // The selected entry, "" when none is selected.
    QString text() const { return list(m_index); }

private:
    QStringList m_items;
    int m_index = -1;
};
