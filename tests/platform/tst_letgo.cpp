#include "platform/letgo.h"
#include "support/testregistry.h"

#include <QTest>
#include <QThreadPool>

class LetGoTest : public QObject
{
    Q_OBJECT

private slots:
    // Short or long, shared or held alone, a list let go is empty at once
    // and keeps no room; the texts it shared with a list kept stay whole
    // once the worker has let go of its own.
    void listsLetGoLeaveTheKeptWhole()
    {
        QStringList kept;
        for (int i = 0; i < 30000; ++i)
            kept.append(QString("name %1.mp3").arg(i));
        const QStringList copy = kept;
        QStringList shared = kept;
        QStringList alone(kept.cbegin(), kept.cend()); // its own list of the same texts
        QStringList few = kept.mid(0, 3);
        for (QStringList *list : {&shared, &alone, &few}) {
            letGo(*list);
            QVERIFY(list->isEmpty());
            QCOMPARE(list->capacity(), 0);
        }
        QVERIFY(QThreadPool::globalInstance()->waitForDone(10000));
        QCOMPARE(kept, copy);
        QCOMPARE(kept.at(29999), QString("name 29999.mp3"));
    }
};

DUN2_TEST(LetGoTest);
#include "tst_letgo.moc"
