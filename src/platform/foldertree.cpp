#include "platform/foldertree.h"

#include "platform/legacytext.h"

#include <QApplication>
#include <QFont>
#include <QStyle>
#include <QSet>
#include <algorithm>
#include <sys/stat.h>

namespace {

// Entries read in one turn of the event loop: a few milliseconds' work.
constexpr int entriesPerStep = 4096;

// The type readdir reports saves a stat for everything but links and the
// rare file system that does not tell; a stat never opens the entry, so a
// FIFO or a device cannot block it.
bool isFolder(int dirFd, const dirent &entry)
{
    if (entry.d_type == DT_DIR)
        return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return false;
    struct stat info;
    return fstatat(dirFd, entry.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

} // namespace

struct FolderTree::Found {
    QByteArray name;
    QString shown;

    explicit Found(const QByteArray &bytes) : name(bytes), shown(decodeUtf8OrWindows1252(bytes).text) {}
    // As a directory list box sorts: by name, without regard to case.
    bool operator<(const Found &other) const
    {
        const int order = shown.compare(other.shown, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : name < other.name;
    }
};

struct FolderTree::Node {
    Found name;
    Node *parent = nullptr;
    int row = 0;
    bool listed = false; // its subfolders were read at least once
    std::vector<std::unique_ptr<Node>> children;

    Node(const Found &found, Node *above) : name(found), parent(above) {}
    void renumber()
    {
        for (int i = 0; i < int(children.size()); ++i)
            children[i]->row = i;
    }
};

FolderTree::FolderTree(QObject *parent)
    : QAbstractItemModel(parent)
    , m_top(std::make_unique<Node>(Found(QByteArray()), nullptr))
    , m_folderIcon(QApplication::style()->standardIcon(QStyle::SP_DirIcon))
{
    m_top->children.push_back(std::make_unique<Node>(Found("/"), m_top.get()));
    m_top->listed = true;
    m_step.setSingleShot(true);
    m_step.setInterval(0);
    connect(&m_step, &QTimer::timeout, this, &FolderTree::readSome);
}

FolderTree::~FolderTree()
{
    closeFolder();
}

FolderTree::Node *FolderTree::nodeOf(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<Node *>(index.internalPointer()) : m_top.get();
}

QModelIndex FolderTree::indexOf(const Node *node) const
{
    return !node || node == m_top.get() ? QModelIndex() : createIndex(node->row, 0, node);
}

FolderTree::Node *FolderTree::walk(const QByteArray &path, bool make)
{
    if (!path.startsWith('/'))
        return nullptr;
    Node *node = m_top->children.front().get();
    for (const QByteArray &name : path.split('/')) {
        if (name.isEmpty())
            continue;
        auto &children = node->children;
        const Found wanted(name);
        const int row = int(std::lower_bound(children.begin(), children.end(), wanted,
                                             [](const auto &child, const Found &found) { return child->name < found; })
                            - children.begin());
        if (row == int(children.size()) || children[row]->name.name != name) {
            if (!make)
                return nullptr;
            beginInsertRows(indexOf(node), row, row);
            children.insert(children.begin() + row, std::make_unique<Node>(wanted, node));
            node->renumber();
            endInsertRows();
        }
        node = children[row].get();
    }
    return node;
}

QByteArray FolderTree::pathOf(const QModelIndex &index) const
{
    if (!index.isValid())
        return QByteArray();
    QByteArrayList names;
    for (const Node *node = nodeOf(index); node->parent != m_top.get(); node = node->parent)
        names.prepend(node->name.name);
    return '/' + names.join('/');
}

bool FolderTree::isOnCurrentPath(const QByteArray &path) const
{
    return m_current == path || m_current.startsWith(path.endsWith('/') ? path : path + '/');
}

void FolderTree::read(const QModelIndex &folder)
{
    const QByteArray path = pathOf(folder);
    if (path.isEmpty() || m_queue.contains(path) || (m_dir && m_readingPath == path))
        return;
    m_queue.append(path);
    m_step.start();
}

void FolderTree::stopReading()
{
    m_step.stop();
    m_queue.clear();
    closeFolder();
}

void FolderTree::closeFolder()
{
    if (m_dir)
        closedir(m_dir);
    m_dir = nullptr;
    m_found.clear();
}

void FolderTree::readSome()
{
    if (!m_dir && !m_queue.isEmpty()) {
        m_readingPath = m_queue.takeFirst();
        m_dir = opendir(m_readingPath.constData());
    }
    // An unreadable folder lists no subfolders.
    for (int i = 0; m_dir && i < entriesPerStep; ++i) {
        if (const dirent *entry = readdir(m_dir)) {
            // Hidden ones too, as a directory list box does not show them.
            if (entry->d_name[0] != '.' && isFolder(dirfd(m_dir), *entry))
                m_found.emplace_back(QByteArray(entry->d_name));
            continue;
        }
        std::vector<Found> found = std::move(m_found);
        closeFolder();
        if (Node *folder = walk(m_readingPath, false))
            merge(folder, std::move(found));
    }
    if (m_dir || !m_queue.isEmpty())
        m_step.start();
}

void FolderTree::merge(Node *folder, std::vector<Found> found)
{
    // The folders on the way to the current one stay, hidden or gone.
    const QByteArray path = pathOf(indexOf(folder));
    for (const auto &child : folder->children)
        if (isOnCurrentPath(joined(path, child->name.name)))
            found.push_back(child->name);
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end(), [](const Found &a, const Found &b) { return a.name == b.name; }),
                found.end());
    QSet<QByteArray> names;
    for (const Found &one : found)
        names.insert(one.name);

    const QModelIndex parent = indexOf(folder);
    auto &children = folder->children;
    // Both lists are in the same order, so what stays is in place once the
    // gone are out, and each run of new ones goes in as one block.
    for (int last = int(children.size()) - 1; last >= 0; --last) {
        if (names.contains(children[last]->name.name))
            continue;
        int first = last;
        while (first > 0 && !names.contains(children[first - 1]->name.name))
            --first;
        beginRemoveRows(parent, first, last);
        children.erase(children.begin() + first, children.begin() + last + 1);
        folder->renumber();
        endRemoveRows();
        last = first;
    }
    const auto isAt = [&](size_t row, size_t i) { return row < children.size() && children[row]->name.name == found[i].name; };
    for (size_t row = 0, i = 0; i < found.size();) {
        if (isAt(row, i)) {
            ++row;
            ++i;
            continue;
        }
        size_t end = i;
        while (end < found.size() && !isAt(row, end))
            ++end;
        beginInsertRows(parent, int(row), int(row + end - i - 1));
        for (size_t k = i; k < end; ++k)
            children.insert(children.begin() + row + (k - i), std::make_unique<Node>(found[k], folder));
        folder->renumber();
        endInsertRows();
        row += end - i;
        i = end;
    }
    folder->listed = true;
}

QModelIndex FolderTree::index(int row, int column, const QModelIndex &parent) const
{
    const Node *folder = nodeOf(parent);
    if (column != 0 || row < 0 || row >= int(folder->children.size()))
        return QModelIndex();
    return createIndex(row, 0, folder->children[row].get());
}

QModelIndex FolderTree::parent(const QModelIndex &child) const
{
    return child.isValid() ? indexOf(nodeOf(child)->parent) : QModelIndex();
}

int FolderTree::rowCount(const QModelIndex &parent) const
{
    return parent.column() > 0 ? 0 : int(nodeOf(parent)->children.size());
}

int FolderTree::columnCount(const QModelIndex &) const
{
    return 1;
}

bool FolderTree::hasChildren(const QModelIndex &parent) const
{
    const Node *folder = nodeOf(parent);
    return !folder->listed || !folder->children.empty();
}

QVariant FolderTree::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::DisplayRole)
        return nodeOf(index)->name.shown;
    if (role == Qt::DecorationRole)
        return m_folderIcon;
    // The current folder in bold, so that it stands out from a highlighted one.
    if (role == Qt::FontRole && pathOf(index) == m_current) {
        QFont font;
        font.setBold(true);
        return font;
    }
    return QVariant();
}
