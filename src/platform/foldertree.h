// The folders of the file system as a tree model, for the directory list
// box. A folder's subfolders are read only when asked for, a slice at a
// time from the event loop, so that a folder of a million files never holds
// up the window; files are skipped by the type the directory gives, and
// nothing is ever opened but the folders themselves. Names are kept as the
// file system gives them (see filename.h).
#pragma once

#include <QAbstractItemModel>
#include <QByteArrayList>
#include <QIcon>
#include <QTimer>
#include <dirent.h>
#include <memory>

class FolderTree : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit FolderTree(QObject *parent = nullptr);
    ~FolderTree() override;

    // The entry of an absolute, clean path; invalid when the tree has none.
    QModelIndex entry(const QByteArray &path) { return indexOf(walk(path, false)); }
    // The same, made along with the folders above it where their folders
    // have not listed them yet.
    QModelIndex makeEntry(const QByteArray &path) { return indexOf(walk(path, true)); }
    QByteArray pathOf(const QModelIndex &index) const;
    // Shown in bold, and kept in the tree even when hidden or gone.
    void setCurrent(const QByteArray &path) { m_current = path; }

    // Lists the folder's subfolders anew, soon; reading() is true until done.
    void read(const QModelIndex &folder);
    bool reading() const { return m_step.isActive() || m_dir; }
    // Drops the reads not yet done.
    void stopReading();

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    struct Node;
    struct Found;

    // The folder's node, made along with those above it when make is true.
    Node *walk(const QByteArray &path, bool make);
    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(const Node *node) const;
    bool isOnCurrentPath(const QByteArray &path) const;
    void readSome();
    void closeFolder();
    void merge(Node *folder, std::vector<Found> found);

    std::unique_ptr<Node> m_top; // holds the root folder as its one child
    QByteArray m_current;
    QIcon m_folderIcon;
    // Folders waiting to be read, by path: a node may be gone by its turn.
    QByteArrayList m_queue;
    QByteArray m_readingPath;
    DIR *m_dir = nullptr;
    std::vector<Found> m_found;
    QTimer m_step;
};
