#include "platform/filelistbox.h"

FileListBox::FileListBox(QWidget *parent, FileListModel *list)
    : QListView(parent)
    , m_list(list ? list : new FileListModel(this))
{
    setModel(m_list);
    setSelectionModel(m_list->selection());
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true); // keeps a list of 100,000 names quick
    // A million rows laid out at once after a new listing would hold the
    // window thread for about a tenth of a second; in batches, events are
    // served between them.
    setLayoutMode(QListView::Batched);
    setBatchSize(50000);
    // The selection, not the item view's current entry: focus alone makes
    // the first entry current, and that selects nothing.
    connect(m_list, &FileListModel::selectionChanged, this, &FileListBox::listClicked);
    // Wherever the selection is moved from, it is shown.
    connect(m_list->selection(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { scrollTo(current); });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { emit listDoubleClicked(); });
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
