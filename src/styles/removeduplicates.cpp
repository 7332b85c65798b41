#include "styles/removeduplicates.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QPointer>
#include <QSet>

namespace {

constexpr int EntriesBetweenEvents = 256;

// Counts the changes made to a list's model while it lives.
class ChangeWatch
{
public:
    explicit ChangeWatch(QAbstractItemModel *model)
    {
        auto changed = [this] { ++m_changes; };
        QObject::connect(model, &QAbstractItemModel::rowsInserted, &m_context, changed);
        QObject::connect(model, &QAbstractItemModel::rowsRemoved, &m_context, changed);
        QObject::connect(model, &QAbstractItemModel::rowsMoved, &m_context, changed);
        QObject::connect(model, &QAbstractItemModel::dataChanged, &m_context, changed);
        QObject::connect(model, &QAbstractItemModel::layoutChanged, &m_context, changed);
        QObject::connect(model, &QAbstractItemModel::modelReset, &m_context, changed);
    }
    int changes() const { return m_changes; }

private:
    QObject m_context; // its end disconnects the counting
    int m_changes = 0;
};

} // namespace

void RemoveDuplicates(QListWidget *list)
{
    QPointer<QListWidget> guard(list);
    QStringList survivors;
    int currentRow = -1; // the current entry's place among the survivors
    bool anyDuplicate = false;
    {
        ChangeWatch watch(list->model());
        QSet<QString> seen;
        int changesSeen = 0;
        // Rows are looked up afresh each time: events can change the list
        // between two of them, and a change starts the pass over.
        for (int row = 0; row < list->count(); ++row) {
            if (row > 0 && row % EntriesBetweenEvents == 0) {
                QCoreApplication::processEvents();
                if (!guard)
                    return;
                if (watch.changes() != changesSeen) {
                    changesSeen = watch.changes();
                    survivors.clear();
                    seen.clear();
                    currentRow = -1;
                    anyDuplicate = false;
                    row = -1;
                    continue;
                }
            }
            const QString text = list->item(row)->text();
            if (seen.contains(text)) {
                anyDuplicate = true;
                continue;
            }
            seen.insert(text);
            if (row == list->currentRow())
                currentRow = int(survivors.size());
            survivors.append(text);
        }
    }
    if (!anyDuplicate)
        return;
    // Taking rows out one by one moves the rest of the list each time;
    // refilling it is one insertion.
    list->clear();
    list->addItems(survivors);
    if (currentRow >= 0)
        list->setCurrentRow(currentRow);
}
