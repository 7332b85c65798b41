#include "platform/filelistmodel.h"

#include "platform/asciitext.h"
#include "platform/caselessorder.h"
#include "platform/filename.h"
#include "platform/legacytext.h"

#include <QRegularExpression>
#include <QSignalBlocker>

#include <algorithm>
#include <vector>
#include <dirent.h>
#include <sys/stat.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

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

    bool matches(QStringView name) const
    {
        if (m_everything)
            return true;
        for (const QString &suffix : m_suffixes)
            if (name.endsWith(suffix, Qt::CaseInsensitive))
                return true;
        for (const QRegularExpression &expression : m_expressions)
            if (expression.match(QString::fromRawData(name.data(), name.size())).hasMatch())
                return true;
        return false;
    }

private:
    bool m_everything = false;
    QStringList m_suffixes;
    QList<QRegularExpression> m_expressions;
};

// The names as shown, and the bytes of those that do not decode back to
// the same bytes.
struct Listing {
    PackedNames names;
    QHash<QString, QByteArray> rawNames;
};

// The names of a directory's files that match, not of its folders, and not
// the hidden ones (a leading dot), which a file list box does not show. The
// entry type readdir reports saves a stat for everything but links and the
// rare file system that does not tell.
Listing matchingFiles(const QString &path, const NamePattern &pattern)
{
    Listing listing;
    if (path.isEmpty())
        return listing;
    DIR *dir = opendir(encodeFileName(path).constData());
    if (!dir)
        return listing;
    const int dirFd = dirfd(dir);
    PackedNames &names = listing.names;
    // A folder's size on the usual file systems is near the length of the
    // names in it: room for them at once, rather than copies as they grow.
    struct stat folder;
    if (fstat(dirFd, &folder) == 0)
        names.text.reserve(qsizetype(std::min<off_t>(folder.st_size, off_t(64) << 20)));
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        bool isFile = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info;
            isFile = fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (!isFile)
            continue;
        const QByteArrayView raw(entry->d_name);
        const qsizetype start = names.text.size();
        if (isAscii(raw)) {
            // Decoded in place, without a string of its own.
            names.text.append(QLatin1String(raw.data(), raw.size()));
            if (!pattern.matches(QStringView(names.text).sliced(start))) {
                names.text.truncate(start);
                continue;
            }
        } else {
            const DecodedText name = decodeUtf8OrWindows1252(raw);
            if (!pattern.matches(name.text))
                continue;
            if (name.windows1252)
                listing.rawNames.insert(name.text, raw.toByteArray());
            names.text.append(name.text);
        }
        names.ends.append(names.text.size());
    }
    closedir(dir);
    return listing;
}

// The names in the list's order, each made afresh in that order: they lie
// in memory as the list does, and a search through a million reads them
// without cache misses. The packed names are let go.
//
// Two files can show the same name, one in UTF-8 and one in an old code
// page, and a name must lead to one file: the UTF-8 one, shown as it is, is
// kept. Equal names lie side by side once sorted.
QStringList namesInOrder(Listing &listing)
{
    const std::vector<quint32> order = caselessOrder(listing.names);
    QStringList names;
    names.reserve(qsizetype(order.size()));
    for (const quint32 index : order) {
        const QStringView name = listing.names.at(index);
        if (!listing.rawNames.isEmpty() && !names.isEmpty() && QStringView(names.constLast()) == name) {
            listing.rawNames.remove(names.constLast());
            continue;
        }
        names.append(name.toString());
    }
    listing.names = PackedNames();
    return names;
}

// glibc keeps the heap a big list leaves behind for the process, where it
// shows as memory in use; a refresh that let one go hands it back.
void giveBackFreedHeap(qsizetype before, qsizetype after)
{
    constexpr qsizetype LargeList = 10000;
    if (std::max(before, after) < LargeList)
        return;
#ifdef __GLIBC__
    malloc_trim(0);
#endif
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
    reread(QString());
}

void FileListModel::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    reread(QString());
}

void FileListModel::refresh()
{
    reread(fileName());
}

void FileListModel::reread(const QString &keep)
{
    // Neither a fresh listing nor the entry kept is a selection change: the
    // name now playing stays.
    const QSignalBlocker quiet(m_selection);
    // The old list goes before the new one is read, in one reset of the
    // view: a folder of a million names is never held twice.
    const qsizetype before = m_names.size();
    beginResetModel();
    m_names = QStringList();
    m_rawNames = QHash<QString, QByteArray>();
    m_lowered = LoweredNames();
    Listing listing = matchingFiles(m_path, NamePattern(m_pattern));
    m_names = namesInOrder(listing);
    m_rawNames = std::move(listing.rawNames);
    m_lowered = LoweredNames(m_names);
    endResetModel();
    giveBackFreedHeap(before, m_names.size());
    if (!keep.isEmpty())
        setListIndex(int(m_names.indexOf(keep)));
}

QString FileListModel::list(int index) const
{
    return index >= 0 && index < m_names.size() ? m_names[index] : QString();
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
