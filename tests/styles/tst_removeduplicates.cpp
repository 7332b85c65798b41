#include "styles/removeduplicates.h"
#include "styletesting.h"
#include "support/testregistry.h"

#include <QPointer>
#include <QTimer>

namespace {

// Long enough that the pass lets events run on its way.
QStringList longList()
{
    QStringList all;
    for (int i = 0; i < 2000; ++i)
        all << QString::number(i % 7);
    return all;
}

} // namespace

class RemoveDuplicatesTest : public QObject
{
    Q_OBJECT

private slots:
    // Case, blanks and empty texts count; the current entry stays current,
    // and every entry keeps its data (the chooser's file names).
    void keepsTheFirstOfEachText()
    {
        QListWidget list;
        list.addItems({"", "Blue", "blue", "a ", " a", "", "blue", " a", "c"});
        list.setCurrentRow(8);
        list.item(8)->setData(Qt::UserRole, "file of c");
        RemoveDuplicates(&list);
        QCOMPARE(entries(&list), QStringList({"", "Blue", "blue", "a ", " a", "c"}));
        QCOMPARE(list.currentItem()->data(Qt::UserRole), QVariant("file of c"));
    }

    void listChangedMeanwhileEndsWithoutDuplicates()
    {
        QListWidget list;
        list.addItems(longList());
        bool changed = false;
        QTimer::singleShot(0, &list, [&] {
            list.clear();
            list.addItems(longList() + QStringList{"new", "0", "new"});
            changed = true;
        });
        RemoveDuplicates(&list);
        QVERIFY(changed);
        QCOMPARE(entries(&list), QStringList({"0", "1", "2", "3", "4", "5", "6", "new"}));
    }

    void listDeletedMeanwhileIsLeftAlone()
    {
        QPointer<QListWidget> list = new QListWidget;
        list->addItems(longList());
        QTimer::singleShot(0, list, [&] { delete list; });
        RemoveDuplicates(list);
        QVERIFY(list.isNull());
    }
};

DUN2_TEST(RemoveDuplicatesTest);
#include "tst_removeduplicates.moc"
