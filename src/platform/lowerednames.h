// The lower-cased forms of a list's names, made once when the list is
// read, so that looking for a word in every name lowers none of them.
//
// The forms lie one after the other in one buffer, in UTF-8: a search is
// one pass over contiguous bytes, whatever the names' scripts, and each
// place the word is found is mapped back to its name through where the
// forms end. The names are those of a folder, whole characters each; a
// UTF-8 byte sequence then holds another exactly where its UTF-16 does.
#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <vector>

class LoweredNames
{
public:
    LoweredNames() = default;
    explicit LoweredNames(const QStringList &names);

    // The names, in order, whose lower-cased forms hold the word
    // lower-cased (QString::toLower), as given to the constructor.
    QStringList holding(const QStringList &names, const QString &word) const;

private:
    // The indexes of the names whose forms hold these bytes.
    std::vector<quint32> indexesHolding(QByteArrayView bytes) const;
    // The same for a word that is not whole characters, compared as UTF-16.
    std::vector<quint32> indexesHoldingUnits(const QString &word) const;
    QByteArrayView form(qsizetype index) const;

    QByteArray m_forms;
    // Where each name's form ends in m_forms.
    std::vector<qsizetype> m_ends;
};
