#include "app/interfacestate.h"
#include "app/mainwindow.h"
#include "app/tray.h"
#include "support/testregistry.h"
#include "support/world.h"

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

    void hideAndShowGoThroughTheTray()
    {
        TestWorld world;
        world.writePreferences(world.musicDir(), "Ann");
        Form1 &form = world.start();
        QVERIFY(form.windowIcon().availableSizes().contains(QSize(32, 32)));

        hideInterface(form);
        QVERIFY(!form.isVisible());
        QVERIFY(trayIconAdded());
        QCOMPARE(trayRecord().window, form.winId());
        QCOMPARE(trayRecord().icon, form.windowIcon().cacheKey());
        QCOMPARE(trayRecord().tipText(), QString::fromUtf8("Ðûñ²"));

        showInterface(form);
        QVERIFY(form.isVisible());
        QVERIFY(!trayIconAdded());
    }
};

DUN2_TEST(TrayTest);
#include "tst_tray.moc"
