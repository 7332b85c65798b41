// A directory list box: the folder tree from the root down, with one
// current path. Double-clicking a folder opens it and makes it the current
// path; a single click only highlights it.
#pragma once

#include <QTreeView>

class QFileSystemModel;

class DirectoryListBox : public QTreeView
{
    Q_OBJECT

public:
    explicit DirectoryListBox(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Opens the folder and makes it current; a path that names no folder
    // changes nothing and gives false.
    bool setPath(const QString &path);

signals:
    void pathChanged(const QString &path);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void scrollToPath();

    class Model;
    Model *m_model;
    QString m_path;
    // The current folder is kept in view while folders come in, until the
    // user moves through the tree.
    bool m_following = false;
    bool m_scrollQueued = false;
};
