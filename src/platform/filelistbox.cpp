#include "platform/filelistbox.h"

#include <QFile>
#include <QItemSelectionModel>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QStringListModel>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace {

// The names of a directory's files, not of its folders, and not the hidden
// ones (a leading dot), which a file list box does not show. The entry type
// readdir reports saves a stat for everything but links and the rare file
// system that does not tell.
QStringList fileNames(const QString &path)
{
    QStringList names;
    if (path.isEmpty())
        return names;
    DIR *dir = opendir(QFile::encodeName(path).constData());
    if (!dir)
        return names;
    const int dirFd = dirfd(dir);
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        bool isFile = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info;
            isFile = fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (isFile)
            names.append(QFile::decodeName(entry->d_name));
    }
    closedir(dir);
    return names;
}

// A file list box's pattern: wildcards, letter case ignored, several
// patterns separated by ";", and "*.*" for every file, dot or not.
class NamePattern
{
public:
    explicit NamePattern(const QString &pattern)
    {
        for (const QString &part : pattern.split(';', Qt::SkipEmptyParts)) {
            const QString trimmed = part.trimmed();
            if (trimmed == "*" || trimmed == "*.*") {
                m_everything = true;
            } else if (trimmed.startsWith('*') && !trimmed.mid(1).contains(QRegularExpression("[*?\\[]"))) {
                m_suffixes.append(trimmed.mid(1)); // the common case, "*.mp3", without a regex
            } else {
                m_expressions.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(trimmed),
                                                        QRegularExpression::CaseInsensitiveOption));
            }
        }
    }

    bool matches(const QString &name) const
    {
        if (m_everything)
            return true;
        for (const QString &suffix : m_suffixes)
            if (name.endsWith(suffix, Qt::CaseInsensitive))
                return true;
        for (const QRegularExpression &expression : m_expressions)
            if (expression.match(name).hasMatch())
                return true;
        return false;
    }

private:
    bool m_everything = false;
    QStringList m_suffixes;
    QList<QRegularExpression> m_expressions;
};

} // namespace

FileListBox::FileListBox(QWidget *parent)
    : QListView(parent)
    , m_model(new QStringListModel(this))
{
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true); // keeps a list of 100,000 names quick
    // The selection, not the item view's current entry: focus alone makes
    // the first entry current, and that selects nothing.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit listClicked(); });
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
    const NamePattern pattern(m_pattern);
    QStringList names = fileNames(m_path);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [&pattern](const QString &name) { return !pattern.matches(name); }),
                names.end());
    // Names that differ only in letter case keep one order all the same.
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    m_names = std::move(names);
    // A fresh listing has no selection, as a refreshed file list box has
    // not, and losing it is no click: the name now playing stays.
    const QSignalBlocker quiet(selectionModel());
    m_model->setStringList(m_names);
}

QString FileListBox::list(int index) const
{
    return index >= 0 && index < m_names.size() ? m_names[index] : QString();
}

int FileListBox::listIndex() const
{
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void FileListBox::setListIndex(int index)
{
    if (index < -1 || index >= m_names.size())
        return;
    if (index == -1) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex entry = m_model->index(index);
    selectionModel()->setCurrentIndex(entry, QItemSelectionModel::ClearAndSelect);
    scrollTo(entry);
}

QString FileListBox::fileName() const
{
    return list(listIndex());
}
