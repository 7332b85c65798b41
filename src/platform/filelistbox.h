// A file list box: a view of a file list (platform/filelistmodel.h), its own
// or one it is given. Any change of the selection counts as a click on the
// list. The user moves the selection but cannot take it away.
#pragma once

#include "platform/filelistmodel.h"

#include <QListView>

class FileListBox : public QListView
{
    Q_OBJECT

public:
    // Without a list, the box lists files of its own.
    explicit FileListBox(QWidget *parent = nullptr, FileListModel *list = nullptr);

    FileListModel &files() { return *m_list; }
    const FileListModel &files() const { return *m_list; }

    // The list's own calls, as a box's.
    QString path() const { return m_list->path(); }
    void setPath(const QString &path) { m_list->setPath(path); }
    void setPattern(const QString &pattern) { m_list->setPattern(pattern); }
    QString pattern() const { return m_list->pattern(); }
    void refresh() { m_list->refresh(); }
    int listCount() const { return m_list->listCount(); }
    QString list(int index) const { return m_list->list(index); }
    const NameList &entries() const { return m_list->entries(); }
    NameList entriesHolding(const QString &word) const { return m_list->entriesHolding(word); }
    int listIndex() const { return m_list->listIndex(); }
    void setListIndex(int index) { m_list->setListIndex(index); }
    QString fileName() const { return m_list->fileName(); }
    QByteArray filePath(const QString &name) const { return m_list->filePath(name); }

signals:
    void listClicked();
    void listDoubleClicked();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;

private:
    FileListModel *m_list;
};
