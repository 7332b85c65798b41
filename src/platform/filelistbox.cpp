#include "platform/filelistbox.h"

#include <QDir>
#include <QItemSelectionModel>
#include <QStringListModel>

FileListBox::FileListBox(QWidget *parent)
    : QListView(parent)
    , m_model(new QStringListModel(this))
{
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true); // keeps a list of 100,000 names quick
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { emit listClicked(); });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { emit listDoubleClicked(); });
}

void FileListBox::setPath(const QString &path)
{
    m_path = path;
    refresh();
}

void FileListBox::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    refresh();
}

void FileListBox::refresh()
{
    QStringList names;
    if (!m_path.isEmpty()) {
        QDir dir(m_path);
        names = dir.entryList(QStringList{m_pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    }
    m_names = names;
    // A fresh listing has no selection, as a refreshed file list box has not.
    m_model->setStringList(m_names);
}

QString FileListBox::list(int index) const
{
    return index >= 0 && index < m_names.size() ? m_names[index] : QString();
}

int FileListBox::listIndex() const
{
    QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void FileListBox::setListIndex(int index)
{
    if (index < -1 || index >= m_names.size())
        return;
    if (index == -1) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
        return;
    }
    selectionModel()->setCurrentIndex(m_model->index(index), QItemSelectionModel::ClearAndSelect);
}

QString FileListBox::fileName() const
{
    return list(listIndex());
}
