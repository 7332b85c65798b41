// A directory list box: the folder tree from the root down, with one
// current path. Double-clicking a folder opens it and makes it the current
// path; a single click only highlights it. Folders are read when opened and
// read anew each time the box is shown; while hidden it reads and watches
// nothing. Paths are file names as decodeFileName gives them.
#pragma once

#include <QTreeView>

class FolderTree;

class DirectoryListBox : public QTreeView
{
    Q_OBJECT

public:
    explicit DirectoryListBox(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Opens the folder and makes it current; a path that names no folder
    // changes nothing and gives false. A relative path is taken from the
    // current one, as cd would, or from the working directory at first.
    bool setPath(const QString &path);

signals:
    void pathChanged(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void readOpenFolders(const QModelIndex &folder);
    void scrollToPath();

    FolderTree *m_model;
    QString m_path;
    // The current folder is kept in view while folders come in, until the
    // user moves through the tree.
    bool m_following = false;
    bool m_scrollQueued = false;
};

// A path as the user reads it: each folder's name UTF-8, else Windows-1252,
// as the track list shows file names.
QString readablePath(const QString &path);
