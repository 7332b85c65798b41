// The lower-cased forms of a list's names, made once when the list is
// read, so that looking for a word in every name lowers none of them.
//
// Only the forms that differ from their names are kept, side by side in
// one buffer: in one byte a character when every character fits in
// Latin-1, else in UTF-16. A million names then cost well under half
// again what the names themselves do.
#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

class LoweredNames
{
public:
    LoweredNames() = default;
    explicit LoweredNames(const QStringList &names);

    // The names, in order, whose lower-cased forms hold the word
    // lower-cased (QString::toLower), as given to the constructor.
    QStringList holding(const QStringList &names, const QString &word) const;

private:
    void append(const QString &name);

    QByteArray m_forms;
    // Per name, where its form ends in m_forms, shifted left by one, and
    // 1 when it is in UTF-16 (which starts at an even place). A form that
    // ends where the one before did is the name itself.
    QList<quint64> m_ends;
};
