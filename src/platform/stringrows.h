// A list of texts as a view reads it: one row per text, shown and not
// edited. The list itself is the subclass's, owned or looked at.
#pragma once

#include <QAbstractListModel>
#include <QString>

class StringRows : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : rowTotal(); }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid) || (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        return rowText(index.row());
    }

protected:
    virtual int rowTotal() const = 0;
    virtual QString rowText(int row) const = 0;
};
