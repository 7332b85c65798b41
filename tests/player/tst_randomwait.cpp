#include "player/randomnumber.h"
#include "player/waitseconds.h"
#include "support/testregistry.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

class RandomWaitTest : public QObject
{
    Q_OBJECT

private slots:
    void randomNumberRoundsHalvesToEven_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("allowZero");
        QTest::addColumn<QList<double>>("shares"); // of each result 0..n
        QTest::newRow("n = 0") << 0 << true << QList<double>{1.0};
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
        QElapsedTimer clock;
        clock.start();
        qint64 innerFrom = -1, innerTook = -1;
        // A handler that waits too, inside the first wait, as a chat line may.
        QTimer::singleShot(100, [&] {
            innerFrom = clock.elapsed();
            WaitSeconds(0.2);
            innerTook = clock.elapsed() - innerFrom;
        });
        WaitSeconds(0.55);
        QVERIFY2(clock.elapsed() >= 550, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(innerFrom >= 0);
        QVERIFY2(innerTook >= 200, qPrintable(QString::number(innerTook)));
    }
};

DUN2_TEST(RandomWaitTest);
#include "tst_randomwait.moc"
