#include "platform/filelistbox.h"

#include "platform/filename.h"
#include "platform/legacytext.h"

#include <QItemSelectionModel>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QStringListModel>

#include <algorithm>
#include <vector>
#include <dirent.h>
#include <sys/stat.h>

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

// The names as shown, and the bytes of those that do not decode back to
// the same bytes.
struct Listing {
    QStringList names;
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
        DecodedText name = decodeUtf8OrWindows1252(raw);
        if (!pattern.matches(name.text))
            continue;
        if (name.windows1252)
            listing.rawNames.insert(name.text, raw.toByteArray());
        listing.names.append(std::move(name.text));
    }
    closedir(dir);
    return listing;
}

// Two files can show the same name, one in UTF-8 and one in an old code
// page, and a name must lead to one file: the UTF-8 one, shown as it is, is
// kept. Equal names lie side by side once sorted.
void dropNamesShownTwice(Listing &listing)
{
    if (listing.rawNames.isEmpty())
        return;
    QStringList &names = listing.names;
    qsizetype kept = 0;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (kept > 0 && names[i] == names[kept - 1])
            listing.rawNames.remove(names[i]);
        else
            names[kept++] = std::move(names[i]);
    }
    names.resize(kept);
}

// Each name is folded once, into one shared buffer, and the sort compares
// the folded keys: several times quicker than folding both names at every
// comparison, and without an allocation per name. The first four folded
// characters, packed in one number, settle most comparisons without
// reading the keys. Names that differ only in letter case keep one order
// all the same.
void sortIgnoringCase(QStringList &names)
{
    struct Entry {
        quint64 head;
        qsizetype offset;
        qsizetype length;
        qsizetype index;
    };
    std::vector<char16_t> folded;
    std::vector<Entry> entries;
    entries.reserve(std::size_t(names.size()));
    for (qsizetype index = 0; index < names.size(); ++index) {
        const QString &name = names.at(index);
        const qsizetype offset = qsizetype(folded.size());
        const bool ascii = std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x80; });
        if (ascii) {
            for (QChar c : name) {
                const char16_t u = c.unicode();
                folded.push_back(u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u);
            }
        } else {
            const QString key = name.toCaseFolded();
            folded.insert(folded.end(), key.utf16(), key.utf16() + key.size());
        }
        const qsizetype length = qsizetype(folded.size()) - offset;
        quint64 head = 0;
        for (qsizetype i = 0; i < 4; ++i)
            head = head << 16 | (i < length ? folded[std::size_t(offset + i)] : 0);
        entries.push_back({head, offset, length, index});
    }
    const auto key = [&folded](const Entry &entry) {
        return QStringView(folded.data() + entry.offset, entry.length);
    };
    std::sort(entries.begin(), entries.end(), [&](const Entry &a, const Entry &b) {
        if (a.head != b.head)
            return a.head < b.head;
        const int order = key(a).compare(key(b));
        return order != 0 ? order < 0 : names.at(a.index) < names.at(b.index);
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const Entry &entry : entries)
        // Fresh copies, made in list order, lie in memory in that order: a
        // search through 100,000 names then reads them without cache misses.
        sorted.append(QString(names[entry.index].constData(), names[entry.index].size()));
    names = std::move(sorted);
}

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
    reread(QString());
}

void FileListBox::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    reread(QString());
}

void FileListBox::refresh()
{
    reread(fileName());
}

void FileListBox::reread(const QString &keep)
{
    Listing listing = matchingFiles(m_path, NamePattern(m_pattern));
    sortIgnoringCase(listing.names);
    dropNamesShownTwice(listing);
    m_names = std::move(listing.names);
    m_rawNames = std::move(listing.rawNames);
    // Neither a fresh listing nor the entry kept is a click: the name now
    // playing stays.
    const QSignalBlocker quiet(selectionModel());
    m_model->setStringList(m_names);
    if (!keep.isEmpty())
        setListIndex(int(m_names.indexOf(keep)));
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

QByteArray FileListBox::filePath(const QString &name) const
{
    const auto raw = m_rawNames.constFind(name);
    return encodeFileName(m_path) + '/' + (raw != m_rawNames.constEnd() ? *raw : name.toUtf8());
}

QItemSelectionModel::SelectionFlags FileListBox::selectionCommand(const QModelIndex &index,
                                                                 const QEvent *event) const
{
    // A click beside the entries, or a Ctrl+click or Ctrl+Space on the
    // selected one, would leave nothing selected while a track plays on.
    const QItemSelectionModel::SelectionFlags command = QListView::selectionCommand(index, event);
    if (!index.isValid() || command.testAnyFlags(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::NoUpdate;
    return command;
}
