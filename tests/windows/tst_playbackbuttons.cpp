#include "chat/chatworld.h"
#include "platform/clicklabel.h"
#include "platform/filelistbox.h"
#include "player/mediaplayer.h"
#include "support/levelsink.h"
#include "support/testregistry.h"

#include <QFile>
#include <QTest>

namespace {

// The track list as the tests fill it, in the list's own order.
const QStringList trackFiles = {"<3 & you.mp3", "Alpha.mp3", "beta.MP3"};

QPoint rowCentre(FileListBox *list, int row)
{
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    return list->visualRect(index).center();
}

} // namespace

class PlaybackButtonsTest : public QObject
{
    Q_OBJECT

private:
    // One step of a user: "select 1" and "dclick 1" click a row of the track
    // list once or twice, "ctrl 1" with Ctrl held, "beside" below the rows;
    // "remove 1" deletes that row's file behind the list's back, "unplug"
    // fails the sound device, the rest click the button of that name.
    void act(MainWindow &form, const QString &step, LevelSink *device = nullptr)
    {
        const QStringList words = step.split(' ');
        const QString what = words[0];
        const int row = words.size() > 1 ? words[1].toInt() : -1;
        if (what == "select" || what == "ctrl") {
            QTest::mouseClick(control<FileListBox>(form, "trackList")->viewport(), Qt::LeftButton,
                              what == "ctrl" ? Qt::ControlModifier : Qt::NoModifier, rowCentre(control<FileListBox>(form, "trackList"), row));
        } else if (what == "beside") {
            QTest::mouseClick(control<FileListBox>(form, "trackList")->viewport(), Qt::LeftButton, {}, {5, control<FileListBox>(form, "trackList")->viewport()->height() - 5});
        } else if (what == "dclick") {
            // What a mouse sends: press and release, then the double-click and its release.
            const QPoint at = rowCentre(control<FileListBox>(form, "trackList"), row);
            QTest::mouseClick(control<FileListBox>(form, "trackList")->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(control<FileListBox>(form, "trackList")->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(control<FileListBox>(form, "trackList")->viewport(), Qt::LeftButton, {}, at);
        } else if (what == "unplug") {
            unplug(device->element());
            QTRY_COMPARE(form.environment().player.playState(), MediaPlayer::Stopped); // the failure is seen before the next step
        } else if (what == "remove") {
            QVERIFY(QFile::remove(control<FileListBox>(form, "trackList")->path() + "/" + control<FileListBox>(form, "trackList")->list(row)));
        } else {
            ClickLabel *button = what == "play" ? control<ClickLabel>(form, "playLabel")
                : what == "pause"               ? control<ClickLabel>(form, "pauseLabel")
                : what == "stop"                ? control<ClickLabel>(form, "stopLabel")
                : what == "next"                ? control<ClickLabel>(form, "nextLabel")
                : what == "last"                ? control<ClickLabel>(form, "previousLabel")
                                                : control<ClickLabel>(form, "refreshLabel");
            QVERIFY2(what == "refresh" || button != control<ClickLabel>(form, "refreshLabel"), qPrintable(step));
            QTest::mouseClick(button, Qt::LeftButton);
        }
    }

private slots:
    void buttonsActAndSay_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<int>("playState");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("nowPlaying");

        // The steps and the messages said, each as one text.
        const auto row = [](const char *name, const char *steps, const QString &said, int state, int selected,
                            const char *nowPlaying) {
            QTest::newRow(name) << QString(steps).split(", ") << said.split('|', Qt::SkipEmptyParts) << state
                                << selected << QString(nowPlaying);
        };
        const QString alpha = "<b>playing</b>: Alpha|", paused = "<b>paused</b>: Alpha|";
        const QString noMp3 = "<b>error</b>, no mp3 playing|", first = "<b>playing</b>: &lt;3 &amp; you";
        row("no stray click takes the selection away", "dclick 1, ctrl 1, beside, pause", alpha + paused, 1, 1,
            "Alpha.mp3");
        row("play replaces what plays", "dclick 1, select 2, play", alpha + "<b>playing</b>: beta", 2, 2, "beta.MP3");
        row("pause does not resume", "dclick 1, pause, pause, stop", alpha + paused + noMp3 + noMp3, 1, 1, "Alpha.mp3");
        row("play after pause loads again", "dclick 1, pause, play", alpha + paused + alpha, 2, 1, "Alpha.mp3");
        row("stop", "dclick 1, stop, stop, pause", alpha + "<b>stopped</b>: Alpha|" + noMp3 + noMp3, 0, 1,
            "Alpha.mp3");
        row("next from nothing selected plays the first, names as written", "next", first, 2, 0, "<3 & you.mp3");
        row("next and previous", "select 0, next, next, last", alpha + "<b>playing</b>: beta|" + alpha, 2, 1,
            "Alpha.mp3");
        row("next on the last entry does nothing", "select 2, next", "", 0, 2, "beta.MP3");
        row("previous on the first entry does nothing", "dclick 0, last", first, 2, 0, "<3 & you.mp3");
        row("previous with nothing selected does nothing", "last, play", "", 0, -1, "");
        row("refresh keeps the place", "dclick 1, refresh, pause, next",
            alpha + "directory refreshed |" + paused + "<b>playing</b>: beta", 2, 2, "beta.MP3");
        row("a track gone since the list was read", "select 2, remove 2, play", "<b>error</b>, can't play: beta", 0, 2,
            "beta.MP3");
        row("a device that fails mid-track, then the next track", "dclick 1, unplug, next",
            alpha + "<b>error</b>, can't play: Alpha|<b>playing</b>: beta", 2, 2, "beta.MP3");
    }

    void buttonsActAndSay()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, said);
        QFETCH(int, playState);
        QFETCH(int, selected);
        QFETCH(QString, nowPlaying);
        LevelSink device;
        TestWorld world("tester", device.element());
        MainWindow &form = startWithTracks(world, trackFiles);
        QCOMPARE(control<FileListBox>(form, "trackList")->entries().toStringList(), trackFiles);

        for (const QString &step : steps)
            act(form, step, &device);

        QStringList expected;
        for (const QString &message : said)
            expected << TestWorld::styled(message);
        QTRY_COMPARE(world.userLines(), expected);
        QCOMPARE(world.player.playState(), playState);
        QCOMPARE(control<FileListBox>(form, "trackList")->listIndex(), selected);
        QCOMPARE(form.playerState().nowPlayingName(), nowPlaying);
        if (playState == 2)
            QCOMPARE(world.player.fileName(), world.musicDir() + "/" + nowPlaying);
    }
};

DUN2_TEST(PlaybackButtonsTest);
#include "tst_playbackbuttons.moc"
