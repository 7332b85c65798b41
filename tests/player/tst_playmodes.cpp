#include "playerworld.h"
#include "support/testregistry.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// Longer than the 0.3 s between loading a track and announcing it, so each
// track is announced before it ends.
constexpr double trackSeconds = 0.7;
constexpr int endTimeoutMs = 15000;

QStringList playing(const QStringList &names)
{
    QStringList lines;
    for (const QString &name : names)
        lines << "<b>playing</b>: " + name;
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
        const QString refreshed = "directory refreshed ";
        QTest::newRow("to the last track") << QStringList{"a.mp3", "b.mp3"} << "" << 2 << playing({"a", "b"});
        QTest::newRow("a track that will not play")
            << QStringList{"a.mp3", "c.mp3"} << "break b" << 1
            << (QStringList{refreshed} << playing({"a"}) << "<b>error</b>, can't play: b");
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
        PlayerWorld world(files, trackSeconds);
        if (meddle == "break b") {
            QFile(world.path("b.mp3")).open(QIODevice::WriteOnly);
            world.actions.refresh();
        }
        QSignalSpy ends(&world.player, &MediaPlayer::endOfStream);
        if (meddle.startsWith("random"))
            world.actions.setRandomMode(true);
        else
            world.actions.setContinuousMode(true);
        world.playFirst();
        if (meddle == "random, drop a") {
            QFile::remove(world.path("a.mp3"));
            world.actions.refresh();
        }
        FileListModel &tracks = world.state.tracks();
        QObject::connect(&tracks, &FileListModel::selectionChanged, &world.actions, [&] {
            if (!meddle.startsWith("drop b") || tracks.fileName() != "b.mp3")
                return;
            // Runs inside the wait that follows this selection.
            QTimer::singleShot(0, &world.actions, [&] {
                QFile::remove(world.path("b.mp3"));
                world.actions.refresh();
                if (meddle.endsWith("pick c"))
                    tracks.setListIndex(1); // c, now second
            });
        });
        // The program's own handler runs before the spy sees an end.
        QTRY_COMPARE_WITH_TIMEOUT(ends.count(), endCount, endTimeoutMs);
        QCOMPARE(world.said, said);
        QCOMPARE(world.player.playState(), meddle.endsWith("pick c") ? MediaPlayer::Playing : MediaPlayer::Stopped);
        if (meddle.endsWith("pick c"))
            QCOMPARE(world.player.fileName(), world.path("c.mp3"));
        if (meddle.isEmpty() || meddle == "break b") {
            QCOMPARE(tracks.listIndex(), 1);
            world.actions.playSelected();
            QCOMPARE(world.said, said << said.last());
        }
    }

    // Which entry is drawn is RandomNumber's test; here what a draw does.
    void randomPlaysAnyTrackAtTheEnd()
    {
        const QStringList files{"a.mp3", "b.mp3", "c.mp3"};
        PlayerWorld world(files, trackSeconds);
        QSignalSpy ends(&world.player, &MediaPlayer::endOfStream);
        world.actions.setRandomMode(true);
        world.playFirst();

        // Each end starts exactly one track, announced once, and empties
        // the song picker's list.
        for (int end = 1; end <= 2; ++end) {
            QTRY_COMPARE_WITH_TIMEOUT(ends.count(), end, endTimeoutMs);
            QTRY_COMPARE_WITH_TIMEOUT(world.said.size(), end + 1, 5000);
            const QString now = world.state.tracks().fileName();
            QVERIFY(files.contains(now));
            QCOMPARE(world.said.last(), playing({now.chopped(4)}).first());
            QCOMPARE(world.player.fileName(), world.path(now));
            QCOMPARE(world.player.playState(), MediaPlayer::Playing);
            QCOMPARE(world.pickerEmptied, end);
        }
        world.actions.setRandomMode(false);
        QTRY_COMPARE_WITH_TIMEOUT(ends.count(), 3, endTimeoutMs);
        QCOMPARE(world.said.size(), 3);
        QCOMPARE(world.player.playState(), MediaPlayer::Stopped);
    }
};

DUN2_TEST(PlayModesTest);
#include "tst_playmodes.moc"
