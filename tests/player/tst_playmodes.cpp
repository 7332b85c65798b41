#include "chat/chatworld.h"
#include "platform/clicklabel.h"
#include "platform/filelistbox.h"
#include "player/mediaplayer.h"
#include "support/testregistry.h"
#include "windows/songpicker.h"

#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// Longer than the 0.3 s between loading a track and announcing it, so each
// track is announced before it ends.
constexpr double trackSeconds = 0.7;
constexpr int endTimeoutMs = 15000;

// The list's clicks are the buttons' test's; here the first track starts the run.
void playFirst(Form1 &form)
{
    form.File1->setListIndex(0);
    QTest::mouseClick(form.play, Qt::LeftButton);
}

QStringList playing(const QStringList &names)
{
    QStringList lines;
    for (const QString &name : names)
        lines << TestWorld::styled("<b>playing</b>: " + name);
    return lines;
}

} // namespace

class PlayModesTest : public QObject
{
    Q_OBJECT

private slots:
    // Both stops leave the last track tried named, and play tries it again.
    void continuousPlaysOnUntilTheLastOrABrokenTrack_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("bBroken");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("to the last track") << QStringList{"a.mp3", "b.mp3"} << false << playing({"a", "b"});
        QTest::newRow("a track that will not play")
            << QStringList{"a.mp3", "c.mp3"} << true
            << (QStringList{TestWorld::styled("directory refreshed ")} << playing({"a"})
                                                                      << TestWorld::styled("<b>error</b>, can't play: b"));
    }

    void continuousPlaysOnUntilTheLastOrABrokenTrack()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, bBroken);
        QFETCH(QStringList, said);
        TestWorld world;
        Form1 &form = startWithTracks(world, files, trackSeconds);
        if (bBroken) {
            QFile(world.musicDir() + "/b.mp3").open(QIODevice::WriteOnly);
            QTest::mouseClick(form.refresh, Qt::LeftButton);
        }
        QSignalSpy ends(&world.player, &MediaPlayer::EndOfStream);
        QTest::mouseClick(form.Check2, Qt::LeftButton);
        playFirst(form);

        // The program's own handler runs before the spy sees an end.
        QTRY_COMPARE_WITH_TIMEOUT(ends.count(), bBroken ? 1 : 2, endTimeoutMs);
        QCOMPARE(world.userLines(), said);
        QCOMPARE(world.player.PlayState(), 0);
        QCOMPARE(form.File1->listIndex(), 1);
        QCOMPARE(form.List1.text(), QString("b.mp3"));
        QTest::mouseClick(form.play, Qt::LeftButton);
        QCOMPARE(world.userLines(), said << said.last());
    }

    // The list is re-read while the next track is being started: the track
    // started is what the list says after the wait, not an index from before.
    void continuousTakesTheListAsItIsAfterTheWait_data()
    {
        QTest::addColumn<bool>("reselect");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("nothing selected any more")
            << false << (playing({"a"}) << TestWorld::styled("directory refreshed "));
        QTest::newRow("the user picks another")
            << true << (playing({"a"}) << TestWorld::styled("directory refreshed ") << playing({"c"}));
    }

    void continuousTakesTheListAsItIsAfterTheWait()
    {
        QFETCH(bool, reselect);
        QFETCH(QStringList, said);
        TestWorld world;
        Form1 &form = startWithTracks(world, {"a.mp3", "b.mp3", "c.mp3"}, trackSeconds);
        QSignalSpy ends(&world.player, &MediaPlayer::EndOfStream);
        QTest::mouseClick(form.Check2, Qt::LeftButton);
        playFirst(form);
        QObject::connect(form.File1, &FileListBox::listClicked, &form, [&] {
            if (form.File1->fileName() != "b.mp3")
                return;
            // Runs inside the wait that follows this selection.
            QTimer::singleShot(0, &form, [&] {
                QFile::remove(world.musicDir() + "/b.mp3");
                QTest::mouseClick(form.refresh, Qt::LeftButton);
                if (reselect)
                    form.File1->setListIndex(1); // c, now second
            });
        });
        QTRY_COMPARE_WITH_TIMEOUT(ends.count(), 1, endTimeoutMs);
        QCOMPARE(world.userLines(), said);
        QCOMPARE(world.player.PlayState(), reselect ? 2 : 0);
        if (reselect)
            QCOMPARE(world.player.FileName(), world.musicDir() + "/c.mp3");
    }

    // Which entry is drawn is RandomNumber's test; here what a draw does.
    void randomPlaysAnyTrackAtTheEnd()
    {
        const QStringList files{"a.mp3", "b.mp3", "c.mp3"};
        TestWorld world;
        Form1 &form = startWithTracks(world, files, trackSeconds);
        form.form3().List1->addItems({"a search's", "matches"});
        QSignalSpy ends(&world.player, &MediaPlayer::EndOfStream);
        QTest::mouseClick(form.Check1, Qt::LeftButton);
        playFirst(form);

        // Each end starts exactly one track, announced once.
        for (int end = 1; end <= 2; ++end) {
            QTRY_COMPARE_WITH_TIMEOUT(ends.count(), end, endTimeoutMs);
            QTRY_COMPARE_WITH_TIMEOUT(world.userLines().size(), end + 1, 5000);
            const QString now = form.File1->fileName();
            QVERIFY(files.contains(now));
            QCOMPARE(form.List1.items(), QStringList{now});
            QCOMPARE(world.userLines().last(), playing({now.chopped(4)}).first());
            QCOMPARE(world.player.FileName(), world.musicDir() + "/" + now);
            QCOMPARE(world.player.PlayState(), 2);
            QCOMPARE(form.form3().List1->count(), 0);
        }
        QTest::mouseClick(form.Check1, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(ends.count(), 3, endTimeoutMs);
        QCOMPARE(world.userLines().size(), 3);
        QCOMPARE(world.player.PlayState(), 0);
    }

    void randomWithAnEmptyListSaysNothing()
    {
        TestWorld world;
        Form1 &form = startWithTracks(world, {"a.mp3"}, trackSeconds);
        QSignalSpy ends(&world.player, &MediaPlayer::EndOfStream);
        QTest::mouseClick(form.Check1, Qt::LeftButton);
        playFirst(form);
        QFile::remove(world.musicDir() + "/a.mp3");
        QTest::mouseClick(form.refresh, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(ends.count(), 1, endTimeoutMs);
        QCOMPARE(world.userLines(), playing({"a"}) << TestWorld::styled("directory refreshed "));
        QCOMPARE(world.player.PlayState(), 0);
        QCOMPARE(form.List1.listCount(), 0);
    }
};

DUN2_TEST(PlayModesTest);
#include "tst_playmodes.moc"
