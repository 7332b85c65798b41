#include "player/randomnumber.h"
#include "player/waitseconds.h"
#include "support/testregistry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

class RandomWaitTest : public QObject
{
    Q_OBJECT

private slots:
    void randomNumberRoundsHalvesToEven_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("allowZero");
        QTest::addColumn<QList<double>>("shares"); // of each result 0..n
        QTest::newRow("one entry") << 0 << true << QList<double>{1};
        QTest::newRow("two entries") << 1 << true << QList<double>{0.5, 0.5};
        QTest::newRow("three entries: the middle half the time") << 2 << true << QList<double>{0.25, 0.5, 0.25};
        QTest::newRow("n = 5 without zero") << 5 << false << QList<double>{0, 0.3, 0.2, 0.2, 0.2, 0.1};
    }

    void randomNumberRoundsHalvesToEven()
    {
        QFETCH(int, n);
        QFETCH(bool, allowZero);
        QFETCH(QList<double>, shares);
        constexpr int draws = 20000;
        QList<int> counts(n + 1, 0);
        for (int i = 0; i < draws; ++i) {
            const long result = RandomNumber(n, allowZero);
            QVERIFY2(result >= 0 && result <= n, qPrintable(QString::number(result)));
            ++counts[int(result)];
        }
        // Six standard deviations and more at this many draws.
        for (int value = 0; value <= n; ++value)
            QVERIFY2(std::abs(double(counts[value]) / draws - shares[value]) < 0.025,
                     qPrintable(QString("%1 came %2 times").arg(value).arg(counts[value])));
        if (!allowZero)
            QCOMPARE(counts[0], 0);
    }

    void waitSecondsWaitsAndLetsEventsThrough()
    {
        // Two handlers queued together, as chat lines come: the second, which
        // waits too, runs whole inside the first one's wait.
        QElapsedTimer clock;
        clock.start();
        QList<qint64> marks; // as the waits begin and end
        for (double seconds : {0.55, 0.2})
            QMetaObject::invokeMethod(qApp, [&marks, &clock, seconds] {
                marks << clock.elapsed();
                WaitSeconds(seconds);
                marks << clock.elapsed();
            }, Qt::QueuedConnection);
        QTRY_COMPARE(marks.size(), 4);
        QVERIFY2(marks[3] - marks[0] >= 550 && marks[2] - marks[1] >= 200, qPrintable(QDebug::toString(marks)));
    }
};

DUN2_TEST(RandomWaitTest);
#include "tst_randomwait.moc"
