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

private:
    class Model;
    Model *m_model;
    QString m_path;
};
