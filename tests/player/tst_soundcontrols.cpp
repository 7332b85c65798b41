#include "playerworld.h"
#include "support/levelsink.h"
#include "support/testregistry.h"

#include <QApplication>
#include <QTest>

class SoundControlsTest : public QObject
{
    Q_OBJECT

private:
    // From the start, as a listener would: sound comes only once loaded.
    void playTrack(PlayerWorld &world, LevelSink &sink)
    {
        sink.reset();
        world.playFirst();
        QCOMPARE(world.player.playState(), MediaPlayer::Playing);
    }

private slots:
    // The volume is set before the track loads, the balance while it plays;
    // a balance in between adds to the volume.
    void barsSetWhatIsHeard_data()
    {
        QTest::addColumn<int>("volume");
        QTest::addColumn<int>("balance");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("right");
        QTest::newRow("balance left") << 100 << -5000 << FullLevel << FullLevel - 50;
        QTest::newRow("balance right") << 100 << 5000 << FullLevel - 50 << FullLevel;
        QTest::newRow("low, a little right") << 1 << 600 << FullLevel - 30.75 << FullLevel - 24.75;
    }

    void barsSetWhatIsHeard()
    {
        QFETCH(int, volume);
        QFETCH(int, balance);
        QFETCH(double, left);
        QFETCH(double, right);
        LevelSink sink;
        PlayerWorld world({"tone.mp3"}, 3.0, sink.element());
        world.actions.volumeBarMoved(volume);
        playTrack(world, sink);
        world.actions.balanceBarMoved(balance);
        QTRY_LEVELS(sink, left, right);
        QCOMPARE(world.said, QStringList{"<b>playing</b>: tone"}); // the bars say nothing, play does
    }

    void muteSilencesAndGivesBackTheSameVolume()
    {
        LevelSink sink;
        PlayerWorld world({"tone.mp3"}, 3.0, sink.element());
        world.actions.volumeBarMoved(57);
        const double level = FullLevel - 10.75;

        world.actions.toggleMute();
        QVERIFY(world.state.muted());
        playTrack(world, sink);
        QTRY_LEVELS(sink, Silence, Silence);

        // Muted before the track was loaded, given back while it plays.
        world.actions.toggleMute();
        QVERIFY(!world.state.muted());
        QTRY_LEVELS(sink, level, level);
        QCOMPARE(world.player.volume(), -1075L);
        QCOMPARE(world.state.volume(), 57);
        QCOMPARE(world.state.volumeShown(), QString("57%"));
        QCOMPARE(world.said,
                 QStringList({"<b>mp3</b> player mute", "<b>playing</b>: tone", "<b>mp3</b> player unmute"}));
    }

    // At exactly -500 and 500 the label keeps what it said. The player is
    // whole without a window.
    void balanceLabelFollowsTheBar()
    {
        PlayerWorld world({});
        QVERIFY(QApplication::allWidgets().isEmpty());
        QCOMPARE(world.state.balanceName(), QString("center"));
        const std::pair<int, const char *> moves[] = {
            {-500, "center"}, {-501, "Left"}, {500, "Left"}, {501, "Right"}, {499, "Center"}};
        for (const auto &[value, label] : moves) {
            world.actions.balanceBarMoved(value);
            QCOMPARE(world.state.balanceName(), QString(label));
        }
    }
};

DUN2_TEST(SoundControlsTest);
#include "tst_soundcontrols.moc"
