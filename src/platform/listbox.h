// A list box that is never shown: entries and one selected entry or none.
// The program keeps the name of the current track in one.
#pragma once

#include "platform/namelist.h"

class ListBox
{
public:
    void clear()
    {
        m_items = NameList();
        m_index = -1;
    }
    void addItems(const NameList &items) { m_items = m_items + items; }
    int listCount() const { return int(m_items.size()); }
    QString list(int index) const { return m_items.at(index); }
    const NameList &items() const { return m_items; }
    int listIndex() const { return m_index; }
    // An index outside the list selects nothing.
    void setListIndex(int index) { m_index = index >= 0 && index < m_items.size() ? index : -1; }
    // The selected entry, "" when none is selected.
    QString text() const { return list(m_index); }

private:
    NameList m_items;
    int m_index = -1;
};
