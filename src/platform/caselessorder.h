// The order of a file list box: names sorted without regard to letter case
// (case-folded), and names that fold alike in their own order.
#pragma once

#include <QList>
#include <QString>
#include <vector>

// Names side by side in one buffer, as a folder is read: one allocation
// for all of them rather than one each.
struct PackedNames {
    QString text;
    QList<qsizetype> ends;

    qsizetype size() const { return ends.size(); }
    QStringView at(qsizetype index) const
    {
        const qsizetype start = index > 0 ? ends[index - 1] : 0;
        return QStringView(text).sliced(start, ends[index] - start);
    }
};

// The indexes of the names in that order.
std::vector<quint32> caselessOrder(const PackedNames &names);
