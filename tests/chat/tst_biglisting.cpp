#include "chatworld.h"
#include "platform/filelistbox.h"
#include "support/files.h"
#include "support/testregistry.h"

#include <QScrollBar>
#include <QTest>

class BigListingTest : public QObject
{
    Q_OBJECT

private slots:
    // A folder this big is read off the window thread. Whatever is said
    // while it is read waits, and is answered after the refresh's own
    // answer, as it is when said at once after it: in the same order, and
    // against the new list. The windows are served meanwhile.
    void linesSaidDuringARefreshComeAfterIt()
    {
        TestWorld world;
        MainWindow &form = startWithTracks(world, {"one.mp3"});
        makeManyFiles(world.musicDir(), 100000, [](int i) { return QString("track %1.mp3").arg(i, 6, 10, QChar('0')); });
        QWidget *refresh = control<QWidget>(form, "refreshLabel");
        QTest::mouseClick(refresh, Qt::LeftButton);
        QCOMPARE(control<FileListBox>(form, "trackList")->listCount(), 100001);
        // Not a count, which the sentinel of waitUntilHandled would take
        // for its own answer.
        const QStringList lines{".vol 50", ".p track 09999", ".vol 40"};
        world.clearLines();
        for (const QString &line : lines)
            world.say(line);
        QVERIFY(world.waitUntilHandled());
        const QStringList saidAtOnce = announcements(world);
        QCOMPARE(saidAtOnce.size(), 4);
        QVERIFY(saidAtOnce.contains("[<b>10</b>] strings found for <b>track 09999</b>"));

        touch(world.musicDir() + "/track 100000.mp3");
        world.clearLines();
        auto *volumeBar = control<QScrollBar>(form, "volumeBar");
        int barMeanwhile = -1;
        duringNextWait([&] {
            for (const QString &line : lines)
                world.say(line);
            volumeBar->setValue(30);
            QCoreApplication::processEvents();
            barMeanwhile = volumeBar->value();
        });
        QTest::mouseClick(refresh, Qt::LeftButton);
        QCOMPARE(barMeanwhile, 30);
        QCOMPARE(control<FileListBox>(form, "trackList")->listCount(), 100002);
        QVERIFY(world.waitUntilHandled());
        QCOMPARE(announcements(world), QStringList{"directory refreshed "} + saidAtOnce);
    }
};

DUN2_TEST(BigListingTest);
#include "tst_biglisting.moc"
