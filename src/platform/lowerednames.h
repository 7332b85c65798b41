// The lower-cased forms of a list's names, made once when the list is
// read, so that looking for a word in every name lowers none of them.
//
// The forms lie one after the other in one buffer, in UTF-8: a search is
// one pass over contiguous bytes, whatever the names' scripts, and each
// place the word is found is mapped back to its name through where the
// forms end. The names are those of a folder, whole characters each; a
// UTF-8 byte sequence then holds another exactly where its UTF-16 does.
#pragma once

#include "platform/namelist.h"

#include <QString>

#include <vector>

class LoweredNames
{
public:
    LoweredNames() = default;
    explicit LoweredNames(const PackedNames &names);

    // The indexes, in order, of the names whose lower-cased forms hold the
    // word lower-cased (QString::toLower).
    std::vector<quint32> indexesHolding(const QString &word) const;
    qsizetype size() const { return m_forms.size(); }

private:
    std::vector<quint32> indexesHoldingBytes(QByteArrayView bytes) const;
    // The same for a word that is not whole characters, compared as UTF-16.
    std::vector<quint32> indexesHoldingUnits(const QString &word) const;

    PackedNames m_forms;
};
