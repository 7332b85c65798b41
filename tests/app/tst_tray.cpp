#include "app/tray.h"
#include "support/testregistry.h"

#include <QIcon>
#include <QWidget>
#include <QTest>

// The tray record as the real window leaves it is the interface state's
// test; here the cut of its tip.
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
        QWidget window;
        AddToTray(QIcon(), tip, &window);
        QTEST(trayRecord().tipText(), "kept");
        RemoveFromTray();
        QVERIFY(!trayIconAdded());
    }
};

DUN2_TEST(TrayTest);
#include "tst_tray.moc"
