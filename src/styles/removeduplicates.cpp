#include "styles/removeduplicates.h"

#include <QCoreApplication>
#include <QHash>
#include <QListWidget>
#include <QPointer>
#include <QSet>
#include <QVariant>

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
    QHash<int, QVariant> survivorData; // by place among the survivors; few entries carry any
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
                    survivorData.clear();
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
            if (const QVariant data = list->item(row)->data(Qt::UserRole); data.isValid())
                survivorData.insert(int(survivors.size()), data);
            survivors.append(text);
        }
    }
    if (!anyDuplicate)
        return;
    // Taking rows out one by one moves the rest of the list each time;
    // refilling it is one insertion.
    list->clear();
    list->addItems(survivors);
    for (auto it = survivorData.cbegin(); it != survivorData.cend(); ++it)
        list->item(it.key())->setData(Qt::UserRole, it.value());
    if (currentRow >= 0)
        list->setCurrentRow(currentRow);
}
