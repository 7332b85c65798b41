#include "platform/filelistmodel.h"

#include "platform/filename.h"
#include "platform/folderlisting.h"
#include "platform/offthread.h"

#include <QPointer>
#include <QSignalBlocker>
#include <QThreadPool>

#include <utility>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// A list let go is a few big blocks, which glibc keeps for the process,
// where they show as memory in use: they are handed back, on a worker, as
// the window thread would otherwise wait for the pages to be freed.
void letGo(NameList names, QHash<QString, QByteArray> rawNames)
{
    constexpr qsizetype LargeList = 10000;
    if (names.size() < LargeList)
        return;
    QThreadPool::globalInstance()->start([names = std::move(names), rawNames = std::move(rawNames)]() mutable {
        names = NameList();
        rawNames = QHash<QString, QByteArray>();
#ifdef __GLIBC__
        malloc_trim(0);
#endif
    });
}

} // namespace


FileListModel::FileListModel(QObject *parent)
    : StringRows(parent)
{
    connect(&m_selection, &QItemSelectionModel::selectionChanged, this, &FileListModel::selectionChanged);
}

void FileListModel::setPath(const QString &path)
{
    m_path = path;
    reread(Keep::Nothing);
}

void FileListModel::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    reread(Keep::Nothing);
}

void FileListModel::refresh()
{
    reread(Keep::Selection);
}

void FileListModel::reread(Keep keep)
{
    // A listing begun while this one was read is the newer; this one's
    // caller goes on with it.
    const quint64 listing = ++m_listings;
    if (keep == Keep::Nothing) {
        // Another folder: the old list goes before the new one is read, so
        // two folders of a million names are never held at once.
        const QSignalBlocker quiet(m_selection);
        beginResetModel();
        letGo(std::exchange(m_names, NameList()), std::exchange(m_rawNames, {}));
        endResetModel();
    }
    auto read = std::make_shared<FolderListing>();
    const QPointer<FileListModel> self(this);
    const bool done = awaitOffThread([read, path = m_path, pattern = m_pattern] { *read = listFolder(path, pattern); });
    if (!done || !self || listing != m_listings)
        return;
    // Neither a fresh listing nor the entry kept is a selection change: the
    // name now playing stays. Kept is what is selected now, which the user
    // may have changed while the folder was read.
    const QSignalBlocker quiet(m_selection);
    const QString kept = keep == Keep::Selection ? fileName() : QString();
    beginResetModel();
    letGo(std::exchange(m_names, std::move(read->names)), std::exchange(m_rawNames, std::move(read->rawNames)));
    endResetModel();
    if (!kept.isEmpty())
        setListIndex(int(m_names.indexOf(kept)));
}

QString FileListModel::list(int index) const
{
    return m_names.at(index);
}

int FileListModel::listIndex() const
{
    const QModelIndexList selected = m_selection.selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void FileListModel::setListIndex(int index)
{
    if (index < -1 || index >= m_names.size())
        return;
    if (index == -1) {
        m_selection.clear();
        return;
    }
    m_selection.setCurrentIndex(this->index(index), QItemSelectionModel::ClearAndSelect);
}

QString FileListModel::fileName() const
{
    return list(listIndex());
}

QByteArray FileListModel::filePath(const QString &name) const
{
    const auto raw = m_rawNames.constFind(name);
    return encodeFileName(m_path) + '/' + (raw != m_rawNames.constEnd() ? *raw : name.toUtf8());
}

int FileListModel::indexOfPath(QByteArrayView path) const
{
    const QByteArray folder = encodeFileName(m_path) + '/';
    if (!path.startsWith(folder))
        return -1;
    const QByteArrayView raw = path.sliced(folder.size());
    for (auto name = m_rawNames.cbegin(); name != m_rawNames.cend(); ++name)
        if (*name == raw)
            return int(m_names.indexOf(name.key()));
    // A name that is not UTF-8 is listed only by what it decodes to.
    return raw.isValidUtf8() ? int(m_names.indexOf(decodeUtf8KeepingMark(raw))) : -1;
}

QString FileListModel::rowText(int row) const
{
    return m_names.at(row);
}
