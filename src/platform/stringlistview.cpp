#include "platform/stringlistview.h"

#include "platform/stringrows.h"

// Rows that can be selected and not edited, as a list widget's items are.
class StringListView::Model : public StringRows
{
public:
    using StringRows::StringRows;

    const NameList &texts() const { return m_texts; }

    void append(const NameList &texts)
    {
        if (texts.isEmpty())
            return;
        beginInsertRows({}, rowCount(), rowCount() + int(texts.size()) - 1);
        m_texts = m_texts + texts;
        endInsertRows();
    }

    void clear()
    {
        beginResetModel();
        m_texts = NameList();
        endResetModel();
    }

protected:
    int rowTotal() const override { return int(m_texts.size()); }
    QString rowText(int row) const override { return m_texts.at(row); }

private:
    NameList m_texts;
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

const NameList &StringListView::entries() const
{
    return m_model->texts();
}

void StringListView::addItems(const NameList &texts)
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
