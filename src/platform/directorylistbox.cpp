#include "platform/directorylistbox.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QScrollBar>

// The folders only, the current one in bold, so that it stands out from a
// highlighted one.
class DirectoryListBox::Model : public QFileSystemModel
{
public:
    explicit Model(QObject *parent)
        : QFileSystemModel(parent)
    {
        setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
        setRootPath(QDir::rootPath());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::FontRole && !current.isEmpty() && filePath(index) == current) {
            QFont font = QFileSystemModel::data(index, role).value<QFont>();
            font.setBold(true);
            return font;
        }
        return QFileSystemModel::data(index, role);
    }

    QString current;
};

DirectoryListBox::DirectoryListBox(QWidget *parent)
    : QTreeView(parent)
    , m_model(new Model(this))
{
    setModel(m_model);
    setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column)
        hideColumn(column);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A double-click always opens; it never folds the entry shut.
    setExpandsOnDoubleClick(false);
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { setPath(m_model->filePath(index)); });
    // Folders are read in the background, and each folder read above the
    // current one moves it down: it is kept in view until the user moves
    // through the tree.
    const auto follow = [this](const QModelIndex &parent) {
        const QString above = m_model->filePath(parent);
        const bool isAbove = m_path == above || m_path.startsWith(above.endsWith('/') ? above : above + '/');
        if (m_following && isAbove && !std::exchange(m_scrollQueued, true))
            QMetaObject::invokeMethod(this, &DirectoryListBox::scrollToPath, Qt::QueuedConnection);
    };
    connect(m_model, &QAbstractItemModel::rowsInserted, this, follow);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, [follow] { follow(QModelIndex()); });
    connect(verticalScrollBar(), &QScrollBar::sliderPressed, this, [this] { m_following = false; });
}

bool DirectoryListBox::setPath(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return false;
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    const QModelIndex index = m_model->index(clean);
    if (!index.isValid())
        return false;
    const QString previous = std::exchange(m_path, clean);
    m_model->current = clean;
    for (QModelIndex up = index; up.isValid(); up = up.parent())
        expand(up);
    setCurrentIndex(index);
    m_following = true;
    scrollToPath();
    // The old and the new current entry change their look.
    if (!previous.isEmpty())
        update(m_model->index(previous));
    update(index);
    if (previous != clean)
        emit pathChanged(clean);
    return true;
}

void DirectoryListBox::scrollToPath()
{
    m_scrollQueued = false;
    scrollTo(m_model->index(m_path), QAbstractItemView::PositionAtCenter);
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
