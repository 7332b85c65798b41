// A list of names as a folder's listing gives them: packed side by side in
// one buffer of UTF-8 with where each ends, a QString made only for a name
// that is read. Copies share the names; a search's result is the rows of
// the list it searched, or the list itself when every name matched, so it
// costs what it holds and letting it go costs nothing much either.
#pragma once

#include "platform/legacytext.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// Names side by side in one buffer, in UTF-8.
struct PackedNames {
    QByteArray text;
    std::vector<quint32> ends;

    qsizetype size() const { return qsizetype(ends.size()); }
    QByteArrayView at(qsizetype index) const
    {
        const quint32 start = index > 0 ? ends[std::size_t(index - 1)] : 0;
        return QByteArrayView(text.constData() + start, ends[std::size_t(index)] - start);
    }
    void append(QByteArrayView name)
    {
        text.append(name);
        ends.push_back(quint32(text.size()));
    }
};

class NameList
{
public:
    NameList() = default;
    explicit NameList(const QStringList &names);
    // The names in the order given; with their lower-cased forms made at
    // once when the list is searched (holding).
    enum class Search { No, Yes };
    NameList(PackedNames names, Search search);

    qsizetype size() const;
    bool isEmpty() const { return size() == 0; }
    QString at(qsizetype row) const { return decodeUtf8KeepingMark(utf8At(row)); }
    QString first() const { return at(0); }
    QByteArrayView utf8At(qsizetype row) const;
    // The first row of this name, -1 when it is not listed.
    qsizetype indexOf(const QString &name) const;

    // The rows, in order, whose names hold the word, letter case ignored as
    // QString::toLower ignores it.
    NameList holding(const QString &word) const;

    // The two lists one after the other, in a list of their own unless one
    // is empty.
    NameList operator+(const NameList &more) const;
    bool operator==(const NameList &other) const;
    bool operator!=(const NameList &other) const { return !(*this == other); }

    QStringList toStringList() const;

private:
    struct Store;
    NameList(std::shared_ptr<const Store> store, std::vector<quint32> rows);
    quint32 indexOfRow(qsizetype row) const { return m_rows ? (*m_rows)[std::size_t(row)] : quint32(row); }

    std::shared_ptr<const Store> m_store;
    // The store's indexes shown, in order; none for every one of them.
    std::shared_ptr<const std::vector<quint32>> m_rows;
};

Q_DECLARE_METATYPE(NameList)
