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
    void keepsTheFirstOfEachText_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("empty") << QStringList() << QStringList();
        QTest::newRow("in a row and scattered")
            << QStringList{"b", "a", "a", "a", "b", "c", "a", "b"} << QStringList{"b", "a", "c"};
        QTest::newRow("case, blanks and empty texts count")
            << QStringList{"", "Blue", "blue", "a ", " a", "", "blue", " a"} << QStringList{"", "Blue", "blue", "a ", " a"};
        QTest::newRow("long") << longList() << QStringList{"0", "1", "2", "3", "4", "5", "6"};
    }

    void keepsTheFirstOfEachText()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QListWidget list;
        list.addItems(before);
        RemoveDuplicates(&list);
        QCOMPARE(entries(&list), after);
    }

    void currentEntryAndDataSurvive()
    {
        QListWidget list;
        list.addItems({"a", "b", "a", "c"});
        list.setCurrentRow(3);
        list.item(3)->setData(Qt::UserRole, "file of c");
        RemoveDuplicates(&list);
        QCOMPARE(list.currentItem()->text(), QString("c"));
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
