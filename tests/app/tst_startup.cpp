#include "app/mainwindow.h"
#include "platform/filelistbox.h"
#include "support/testregistry.h"
#include "support/world.h"
#include "windows/pathchooser.h"
#include "windows/songpicker.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void firstStartShowsPathChooserAndStoresNothingOnEmptyAnswer()
    {
        TestWorld world;
        Form1 &form = world.start(QString());
        QVERIFY(form.form2().isVisible());
        QVERIFY(!form.isVisible());
        QVERIFY(!QFile::exists(world.preferencesPath()));
        QCOMPARE(form.Handle, QString());
        QCOMPARE(form.form2().Handle, QString());
        QCOMPARE(form.form3().Handle, QString("new user"));
        QCOMPARE(world.userLines(), QStringList({TestWorld::styled(QString::fromUtf8("Ðûñ² løªded ")),
                                                 TestWorld::styled("user: ")}));
    }

    void cancelledPromptCountsAsEmpty()
    {
        TestWorld world;
        Form1 &form = world.start(std::nullopt);
        QCOMPARE(form.Handle, QString());
        QCOMPARE(form.form3().Handle, QString("new user"));
        QVERIFY(!QFile::exists(world.preferencesPath()));
    }

    void givenHandleIsStoredAndAnnounced()
    {
        TestWorld world;
        Form1 &form = world.start(QString("Joe"));
        QCOMPARE(form.Handle, QString("Joe"));
        QCOMPARE(form.form2().Handle, QString("Joe"));
        QFile prefs(world.preferencesPath());
        QVERIFY(prefs.open(QIODevice::ReadOnly));
        QCOMPARE(prefs.readAll(), QByteArray("[iNfO]\nHANDLE=Joe\n"));
        QCOMPARE(world.userLines().last(), TestWorld::styled("user: Joe"));
    }

    void storedDirectoryShowsMainWindowAtFullVolume()
    {
        TestWorld world;
        world.writePreferences(world.musicDir(), "Ann");
        QString volumeAtFirstLine;
        Form1 *form = &world.make();
        QObject::connect(&world.client(), &ChatClient::lineReceived, [&] {
            if (volumeAtFirstLine.isEmpty())
                volumeAtFirstLine = form->volume1->text();
        });
        world.start();
        QVERIFY(form->isVisible());
        QVERIFY(!form->form2().isVisible());
        QCOMPARE(volumeAtFirstLine, QString("100%"));
        QCOMPARE(form->HScroll1->value(), 100);
        QCOMPARE(world.player.Volume(), 0L);
        QCOMPARE(form->mpath, world.musicDir());
        QCOMPARE(form->form2().mpath, world.musicDir());
        QCOMPARE(form->path->text(), world.musicDir());
        QCOMPARE(form->File1->path(), world.musicDir());
        QCOMPARE(form->Handle, QString("Ann"));
        QCOMPARE(world.userLines().last(), TestWorld::styled("user: Ann"));
        QVERIFY(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void announcementsWaitTheirTimeAndLetLinesThrough()
    {
        TestWorld world;
        world.writePreferences(world.musicDir(), "Ann");
        QElapsedTimer clock;
        qint64 firstAt = -1, secondAt = -1;
        QObject::connect(&world.client(), &ChatClient::lineReceived, [&](WindowHandle, const QString &, const QString &text) {
            if (text.contains(QString::fromUtf8("løªded")))
                firstAt = clock.elapsed();
            else if (text.contains("user: "))
                secondAt = clock.elapsed();
            else
                QVERIFY(firstAt >= 0 && secondAt < 0); // a line said during the wait is taken in it
        });
        QTimer::singleShot(200, [&] { world.sayAs("bob", "hello"); });
        clock.start();
        world.start();
        QVERIFY(secondAt - firstAt >= 550);
        QVERIFY(world.lines().contains("hello"));
    }
};

DUN2_TEST(StartupTest);
#include "tst_startup.moc"
