// What a file list box shows, without the box: the files of one directory
// whose names match a pattern, sorted by name without regard to case, with
// one selected entry or none. The box is only a view of it; the player
// keeps its track list in one with no box at all.
//
// Names are shown as well as they decode (UTF-8, else Windows-1252, as old
// Windows copies come); the file itself is found by its bytes. A folder is
// read off the window thread (platform/offthread.h): setPath, setPattern
// and refresh return with the new list in place.
#pragma once

#include "platform/namelist.h"
#include "platform/stringrows.h"

#include <QByteArray>
#include <QHash>
#include <QItemSelectionModel>
#include <QStringList>

class FileListModel : public StringRows
{
    Q_OBJECT

public:
    explicit FileListModel(QObject *parent = nullptr);

    QString path() const { return m_path; }
    // Lists the directory anew; a directory that is missing, unreadable or a
    // file gives an empty list.
    void setPath(const QString &path);
    void setPattern(const QString &pattern);
    QString pattern() const { return m_pattern; }
    // Lists the directory anew; the selected entry stays selected, without
    // a selection change being told, when it is still listed.
    void refresh();

    int listCount() const { return int(m_names.size()); }
    QString list(int index) const;
    const NameList &entries() const { return m_names; }
    // The entries whose names hold the word, letter case ignored as
    // QString::toLower ignores it, in list order.
    NameList entriesHolding(const QString &word) const { return m_names.holding(word); }
    // -1 when nothing is selected.
    int listIndex() const;
    // An index outside the list selects nothing and leaves the selection.
    void setListIndex(int index);
    // The selected entry's name, "" when none is selected.
    QString fileName() const;
    // The full path, as the file system spells it, of the entry listed
    // under this name; a name not listed is taken as UTF-8.
    QByteArray filePath(const QString &name) const;
    // The entry that is this file, -1 when none is.
    int indexOfPath(QByteArrayView path) const;

    // The selection a view shows and changes.
    QItemSelectionModel *selection() { return &m_selection; }

signals:
    // Any change of the selection, by a view or by setListIndex; a fresh
    // listing is none.
    void selectionChanged();

protected:
    int rowTotal() const override { return int(m_names.size()); }
    QString rowText(int row) const override;

private:
    enum class Keep { Nothing, Selection };
    void reread(Keep keep);

    NameList m_names;
    // The bytes of the few names that their decoded form does not give back.
    QHash<QString, QByteArray> m_rawNames;
    QString m_path;
    QString m_pattern = "*.*";
    quint64 m_listings = 0;
    QItemSelectionModel m_selection{this};
};
