// A file list box: the files of one directory whose names match a pattern,
// sorted by name without regard to case, with one selected entry or none.
// Any change of the selection counts as a click on the list.
#pragma once

#include <QListView>
#include <QStringList>

class QStringListModel;

class FileListBox : public QListView
{
    Q_OBJECT

public:
    explicit FileListBox(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Lists the directory anew; a directory that is missing, unreadable or a
    // file gives an empty list.
    void setPath(const QString &path);
    void setPattern(const QString &pattern);
    QString pattern() const { return m_pattern; }
    void refresh();

    int listCount() const { return int(m_names.size()); }
    QString list(int index) const;
    const QStringList &entries() const { return m_names; }
    // -1 when nothing is selected.
    int listIndex() const;
    // An index outside the list selects nothing and leaves the selection.
    void setListIndex(int index);
    // The selected entry's name, "" when none is selected.
    QString fileName() const;

signals:
    void listClicked();
    void listDoubleClicked();

private:
    QStringList m_names;
    QString m_path;
    QString m_pattern = "*.*";
    QStringListModel *m_model = nullptr;
};
