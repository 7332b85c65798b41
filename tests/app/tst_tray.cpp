#include "app/tray.h"
#include "support/testregistry.h"

#include <QIcon>
#include <QPixmap>
#include <QTest>

class TrayTest : public QObject
{
    Q_OBJECT

private slots:
    void recordKeepsTheTipCutTo63_data()
    {
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("kept");
        const QString sixtyThree(63, 'a');
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("63") << sixtyThree << sixtyThree;
        QTest::newRow("64") << sixtyThree + "b" << sixtyThree;
        // A character in two halves at the cut is left out whole.
        QTest::newRow("pair across the cut") << QString(62, 'a') + QString::fromUtf8("🎵") << QString(62, 'a');
    }

    void recordKeepsTheTipCutTo63()
    {
        QFETCH(QString, tip);
        QFETCH(QString, kept);
        QWidget window;
        window.show();
        QPixmap picture(32, 32);
        picture.fill(Qt::red);
        const QIcon icon(picture);

        AddToTray(icon, tip, &window);
        QVERIFY(!window.isVisible());
        QVERIFY(trayIconAdded());
        const NotifyIconRecord &record = trayRecord();
        QCOMPARE(record.window, window.winId());
        QCOMPARE(record.icon, icon.cacheKey());
        QCOMPARE(record.tipText(), kept);
        QCOMPARE(record.tip[63], u'\0');

        RemoveFromTray();
        QVERIFY(!trayIconAdded());
        QVERIFY(!window.isVisible());
        QCOMPARE(record.tipText(), kept);
    }
};

DUN2_TEST(TrayTest);
#include "tst_tray.moc"
