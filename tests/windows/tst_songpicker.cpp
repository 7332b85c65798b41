#include "pickerworld.h"

#include "platform/clicklabel.h"
#include "platform/listbox.h"
#include "support/testregistry.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

void doubleClick(StringListView *list, int row)
{
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class SongPickerTest : public QObject
{
    Q_OBJECT

private slots:
    // Each waits, plays in the picker's own style and leaves: "play" the
    // selected entry, once even if clicked again during its wait; "random"
    // any entry, said while the picker is still up, and empties the list.
    void playAndRandomPlayInThePickersStyleAndLeave()
    {
        const QStringList entries{"a.mp3", "b.mp3", "c.mp3"};
        for (const bool random : {false, true}) {
            TestWorld world;
            MainWindow &form = startWithTracks(world, entries);
            form.program().settings.style.frontDecoration = "main ";
            SongPicker &picker = openPicker(form, entries);
            picker.style.messageFace = "<font face=\"Tahoma\">";
            picker.matchList->setCurrentRow(1);
            QElapsedTimer clock;
            qint64 announcedAt = -1;
            bool openAtAnnouncement = false;
            QObject::connect(&world.client(), &ChatClient::lineReceived, &picker, [&] {
                announcedAt = clock.elapsed();
                openAtAnnouncement = picker.isVisible();
            });
            world.clearLines();
            if (!random)
                duringNextWait([&] { QTest::mouseClick(picker.playLabel, Qt::LeftButton); });
            clock.start();
            QTest::mouseClick(random ? picker.randomLabel : picker.playLabel, Qt::LeftButton);
            QVERIFY(random ? clock.elapsed() - announcedAt >= 300 && openAtAnnouncement : clock.elapsed() >= 400);
            QVERIFY(world.waitUntilHandled());
            const QString file = world.player.fileName().section('/', -1);
            QVERIFY2(random ? entries.contains(file) : file == "b.mp3", qPrintable(file));
            StylePieces expected = StylePieces::initial();
            expected.messageFace = "<font face=\"Tahoma\">";
            QCOMPARE(world.userLines(), QStringList{expected.styledLine("<b>playing</b>: " + file.chopped(4))});
            QCOMPARE(world.player.playState(), MediaPlayer::Playing);
            QCOMPARE(picker.matchList->count(), random ? 0 : 3);
            QVERIFY(!picker.isVisible() && form.isVisible() && !form.program().searchScan->scanning());
        }
    }

    // Nothing to play does nothing; a double-click plays, or says that an
    // entry cannot; the picker stays up either way.
    void thePickerStays()
    {
        struct Case {
            const char *name;
            QStringList entries;
            std::function<void(SongPicker &)> act;
        };
        const auto play = [](SongPicker &p) { QTest::mouseClick(p.playLabel, Qt::LeftButton); };
        const auto random = [](SongPicker &p) { QTest::mouseClick(p.randomLabel, Qt::LeftButton); };
        const auto dblclick = [](SongPicker &p) { QTest::mouseDClick(p.matchList->viewport(), Qt::LeftButton); };
        const Case cases[] = {
            {"play, empty", {}, play},
            {"random, empty", {}, random},
            {"double-click, empty", {}, dblclick},
            {"play, none selected", {"a.mp3", "Song.MP3"}, play},
            {"double-click below the entries", {"a.mp3", "Song.MP3"}, dblclick},
        };
        TestWorld world;
        MainWindow &form = startWithTracks(world, {"a.mp3", "Song.MP3"});
        for (const Case &c : cases) {
            SongPicker &picker = openPicker(form, c.entries);
            world.clearLines();
            c.act(picker);
            QVERIFY2(world.waitUntilHandled(), c.name);
            QVERIFY2(world.lines().isEmpty() && world.player.playState() != MediaPlayer::Playing, c.name);
            QVERIFY2(picker.isVisible() && !form.isVisible() && form.program().searchScan->scanning(), c.name);
        }

        SongPicker &picker = openPicker(form, {"gone & lost.mp3", "a.mp3", "Song.MP3"});
        world.clearLines();
        doubleClick(picker.matchList, 0);
        QVERIFY(world.player.playState() != MediaPlayer::Playing);
        doubleClick(picker.matchList, 1);
        QCOMPARE(world.player.playState(), MediaPlayer::Playing);
        doubleClick(picker.matchList, 2);
        QCOMPARE(world.player.fileName(), world.musicDir() + "/Song.MP3");
        QCOMPARE(world.player.playState(), MediaPlayer::Playing);
        QCOMPARE(world.userLines(),
                 QStringList({TestWorld::styled("<b>error</b>, can't play: gone &amp; lost"),
                              TestWorld::styled("<b>playing</b>: a"), TestWorld::styled("<b>playing</b>: Song")}));
        QVERIFY(picker.isVisible() && !form.isVisible() && form.program().searchScan->scanning());
    }

    // Even during the wait of "play", "back" leaves nothing to play.
    void backLeavesWithoutPlayingAndEmptiesBothLists()
    {
        TestWorld world;
        MainWindow &form = startWithTracks(world, {"a.mp3"});
        form.playerState().setNowPlaying(NameList(QStringList{"a.mp3"}), 0);
        SongPicker &picker = openPicker(form, {"a.mp3", "b.mp3", "c.mp3"});
        picker.matchList->setCurrentRow(0);
        world.clearLines();
        duringNextWait([&] { QTest::mouseClick(picker.backLabel, Qt::LeftButton); });
        QTest::mouseClick(picker.playLabel, Qt::LeftButton);
        QVERIFY(world.waitUntilHandled());
        QVERIFY(world.lines().isEmpty());
        QCOMPARE(picker.matchList->count(), 0);
        QVERIFY(form.playerState().nowPlayingName().isEmpty());
        QVERIFY(!picker.isVisible());
        QVERIFY(form.isVisible());
        QVERIFY(!form.program().searchScan->scanning());
        QCOMPARE(world.player.playState(), MediaPlayer::Stopped);
    }
};

DUN2_TEST(SongPickerTest);
#include "tst_songpicker.moc"
