// Adding one list of texts to another. QList::append copies every text,
// even into an empty list: there the list is shared instead, so a million
// names handed on cost one reference, not a million.
#pragma once

#include <QStringList>

inline void appendShared(QStringList &list, const QStringList &more)
{
    if (list.isEmpty())
        list = more;
    else
        list += more;
}
