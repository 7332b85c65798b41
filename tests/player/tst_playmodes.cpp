#include "chat/chatworld.h"
#include "platform/clicklabel.h"
#include "platform/filelistbox.h"
#include "platform/stringlistview.h"
#include "player/mediaplayer.h"
#include "support/testregistry.h"
#include "windows/songpicker.h"

#include <QCheckBox>
#include <QFile>
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
    // What an end starts: in continuous mode the next entry, until the last
    // or a broken one (both stops leave the last track tried named, and play
    // tries it again), as the list is after the wait, not an index from
    // before; in random mode nothing from a list emptied meanwhile.
    void theEndStartsWhatTheListSays_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("meddle");
        QTest::addColumn<int>("endCount");
        QTest::addColumn<QStringList>("said");
        const QStringList abc{"a.mp3", "b.mp3", "c.mp3"};
        const QString refreshed = TestWorld::styled("directory refreshed ");
        QTest::newRow("to the last track") << QStringList{"a.mp3", "b.mp3"} << "" << 2 << playing({"a", "b"});
        QTest::newRow("a track that will not play")
            << QStringList{"a.mp3", "c.mp3"} << "break b" << 1
            << (QStringList{refreshed} << playing({"a"}) << TestWorld::styled("<b>error</b>, can't play: b"));
        QTest::newRow("nothing selected after the wait") << abc << "drop b" << 1 << (playing({"a"}) << refreshed);
        QTest::newRow("the user picks another in the wait")
            << abc << "drop b, pick c" << 1 << (playing({"a"}) << refreshed << playing({"c"}));
        QTest::newRow("random, the list emptied") << QStringList{"a.mp3"} << "random, drop a" << 1
                                                  << (playing({"a"}) << refreshed);
    }

    void theEndStartsWhatTheListSays()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, meddle);
        QFETCH(int, endCount);
        QFETCH(QStringList, said);
        TestWorld world;
        Form1 &form = startWithTracks(world, files, trackSeconds);
        if (meddle == "break b") {
            QFile(world.musicDir() + "/b.mp3").open(QIODevice::WriteOnly);
            QTest::mouseClick(form.refresh, Qt::LeftButton);
        }
        QSignalSpy ends(&world.player, &MediaPlayer::EndOfStream);
        QTest::mouseClick(meddle.startsWith("random") ? form.Check1 : form.Check2, Qt::LeftButton);
        playFirst(form);
        if (meddle == "random, drop a") {
            QFile::remove(world.musicDir() + "/a.mp3");
            QTest::mouseClick(form.refresh, Qt::LeftButton);
        }
        QObject::connect(form.File1, &FileListBox::listClicked, &form, [&] {
            if (!meddle.startsWith("drop b") || form.File1->fileName() != "b.mp3")
                return;
            // Runs inside the wait that follows this selection.
            QTimer::singleShot(0, &form, [&] {
                QFile::remove(world.musicDir() + "/b.mp3");
                QTest::mouseClick(form.refresh, Qt::LeftButton);
                if (meddle.endsWith("pick c"))
                    form.File1->setListIndex(1); // c, now second
            });
        });
        // The program's own handler runs before the spy sees an end.
        QTRY_COMPARE_WITH_TIMEOUT(ends.count(), endCount, endTimeoutMs);
        QCOMPARE(world.userLines(), said);
        QCOMPARE(world.player.PlayState(), meddle.endsWith("pick c") ? MediaPlayer::Playing : MediaPlayer::Stopped);
        if (meddle.endsWith("pick c"))
            QCOMPARE(world.player.FileName(), world.musicDir() + "/c.mp3");
        if (meddle.isEmpty() || meddle == "break b") {
            QCOMPARE(form.File1->listIndex(), 1);
            QTest::mouseClick(form.play, Qt::LeftButton);
            QCOMPARE(world.userLines(), said << said.last());
        }
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
            QCOMPARE(world.userLines().last(), playing({now.chopped(4)}).first());
            QCOMPARE(world.player.FileName(), world.musicDir() + "/" + now);
            QCOMPARE(world.player.PlayState(), MediaPlayer::Playing);
            QCOMPARE(form.form3().List1->count(), 0);
        }
        QTest::mouseClick(form.Check1, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(ends.count(), 3, endTimeoutMs);
        QCOMPARE(world.userLines().size(), 3);
        QCOMPARE(world.player.PlayState(), MediaPlayer::Stopped);
    }
};

DUN2_TEST(PlayModesTest);
#include "tst_playmodes.moc"
