#include "platform/stringlistview.h"

#include "platform/appendshared.h"
#include "platform/letgo.h"
#include "platform/stringrows.h"

// Rows that can be selected and not edited, as a list widget's items are.
class StringListView::Model : public StringRows
{
public:
    using StringRows::StringRows;

    const QStringList &texts() const { return m_texts; }

    void append(const QStringList &texts)
    {
        if (texts.isEmpty())
            return;
        beginInsertRows({}, rowCount(), rowCount() + int(texts.size()) - 1);
        appendShared(m_texts, texts);
        endInsertRows();
    }

    void clear()
    {
        beginResetModel();
        letGo(m_texts);
        endResetModel();
    }

protected:
    const QStringList &rows() const override { return m_texts; }

private:
    QStringList m_texts;
};

StringListView::StringListView(QWidget *parent)
    : QListView(parent)
    , m_model(new Model(this))
{
    // Every row is one line of the same font: its height is measured once,
    // not once for each of a million rows when the list is laid out.
    setUniformItemSizes(true);
    setModel(m_model);
}

int StringListView::count() const
{
    return m_model->rowCount();
}

const QStringList &StringListView::entries() const
{
    return m_model->texts();
}

void StringListView::addItems(const QStringList &texts)
{
    m_model->append(texts);
}

void StringListView::clear()
{
    m_model->clear();
}

void StringListView::setCurrentRow(int row)
{
    selectionModel()->setCurrentIndex(m_model->index(row), QItemSelectionModel::ClearAndSelect);
}

QString StringListView::selectedText() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : entries().at(selected.first().row());
}
