#include "platform/directorylistbox.h"

#include "platform/filename.h"
#include "platform/foldertree.h"
#include "platform/legacytext.h"

#include <QDir>
#include <QHideEvent>
#include <QScrollBar>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString workingDirectory()
{
    QByteArray buffer(4096, Qt::Uninitialized);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return QString();
        buffer.resize(buffer.size() * 2);
    }
    return decodeFileName(buffer.constData());
}

} // namespace

DirectoryListBox::DirectoryListBox(QWidget *parent)
    : QTreeView(parent)
    , m_model(new FolderTree(this))
{
    setModel(m_model);
    setHeaderHidden(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A double-click always opens; it never folds the entry shut.
    setExpandsOnDoubleClick(false);
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { setPath(decodeFileName(m_model->pathOf(index))); });
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex &folder) {
        if (isVisible())
            m_model->read(folder);
    });
    // Each folder read above the current one moves it down: it is kept in
    // view until the user moves through the tree.
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &parent) {
        const QString above = decodeFileName(m_model->pathOf(parent));
        const bool isAbove = m_path == above || m_path.startsWith(above.endsWith('/') ? above : above + '/');
        if (m_following && isAbove && !std::exchange(m_scrollQueued, true))
            QMetaObject::invokeMethod(this, &DirectoryListBox::scrollToPath, Qt::QueuedConnection);
    });
    connect(verticalScrollBar(), &QScrollBar::sliderPressed, this, [this] { m_following = false; });
}

bool DirectoryListBox::setPath(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QString from = m_path.isEmpty() ? workingDirectory() : m_path;
    const QString clean = QDir::cleanPath(path.startsWith('/') ? path : from + '/' + path);
    const QByteArray bytes = encodeFileName(clean);
    struct stat info;
    if (stat(bytes.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    const QModelIndex index = m_model->makeEntry(bytes);
    if (!index.isValid())
        return false;
    const QString previous = std::exchange(m_path, clean);
    m_model->setCurrent(bytes);
    for (QModelIndex up = index; up.isValid(); up = up.parent())
        expand(up);
    setCurrentIndex(index);
    m_following = true;
    scrollToPath();
    // The old and the new current entry change their look.
    if (!previous.isEmpty())
        update(m_model->entry(encodeFileName(previous)));
    update(index);
    if (previous != clean)
        emit pathChanged(clean);
    return true;
}

void DirectoryListBox::showEvent(QShowEvent *event)
{
    QTreeView::showEvent(event);
    // Nothing was watched while hidden: what is open is read anew.
    readOpenFolders(QModelIndex());
}

void DirectoryListBox::hideEvent(QHideEvent *event)
{
    m_model->stopReading();
    QTreeView::hideEvent(event);
}

void DirectoryListBox::readOpenFolders(const QModelIndex &folder)
{
    for (int row = 0; row < m_model->rowCount(folder); ++row) {
        const QModelIndex child = m_model->index(row, 0, folder);
        if (isExpanded(child)) {
            m_model->read(child);
            readOpenFolders(child);
        }
    }
}

void DirectoryListBox::scrollToPath()
{
    m_scrollQueued = false;
    scrollTo(m_model->entry(encodeFileName(m_path)), QAbstractItemView::PositionAtCenter);
}

void DirectoryListBox::mousePressEvent(QMouseEvent *event)
{
    m_following = false;
    QTreeView::mousePressEvent(event);
}

void DirectoryListBox::keyPressEvent(QKeyEvent *event)
{
    m_following = false;
    QTreeView::keyPressEvent(event);
}

void DirectoryListBox::wheelEvent(QWheelEvent *event)
{
    m_following = false;
    QTreeView::wheelEvent(event);
}

QString readablePath(const QString &path)
{
    QStringList names = path.split('/');
    for (QString &name : names)
        name = decodeUtf8OrWindows1252(encodeFileName(name)).text;
    return names.join('/');
}
