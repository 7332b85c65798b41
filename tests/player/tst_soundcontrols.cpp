#include "chat/chatworld.h"
#include "platform/clicklabel.h"
#include "platform/filelistbox.h"
#include "player/mediaplayer.h"
#include "support/levelsink.h"
#include "support/testregistry.h"

#include <QLabel>
#include <QScrollBar>
#include <QTest>

class SoundControlsTest : public QObject
{
    Q_OBJECT

private:
    // From the start, as a listener would: sound comes only once loaded.
    void playTrack(Form1 &form, LevelSink &sink)
    {
        form.File1->setListIndex(0);
        sink.reset();
        QTest::mouseClick(form.play, Qt::LeftButton);
        QCOMPARE(form.MediaPlayer1.PlayState(), MediaPlayer::Playing);
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
        TestWorld world("tester", sink.element());
        Form1 &form = startWithTracks(world, {"tone.mp3"}, 3.0);
        form.HScroll1->setValue(volume);
        playTrack(form, sink);
        form.HScroll3->setValue(balance);
        QTRY_LEVELS(sink, left, right);
        QVERIFY(world.userLines().size() == 1); // the bars say nothing, play does
    }

    void muteSilencesAndGivesBackTheSameVolume()
    {
        LevelSink sink;
        TestWorld world("tester", sink.element());
        Form1 &form = startWithTracks(world, {"tone.mp3"}, 3.0);
        form.HScroll1->setValue(57);
        const double level = FullLevel - 10.75;

        QTest::mouseClick(form.mute, Qt::LeftButton);
        QCOMPARE(form.mute->text(), QString("UnMute"));
        playTrack(form, sink);
        QTRY_LEVELS(sink, Silence, Silence);

        // Muted before the track was loaded, given back while it plays.
        QTest::mouseClick(form.mute, Qt::LeftButton);
        QCOMPARE(form.mute->text(), QString("Mute"));
        QTRY_LEVELS(sink, level, level);
        QCOMPARE(world.player.Volume(), -1075L);
        QCOMPARE(form.HScroll1->value(), 57);
        QCOMPARE(form.volume1->text(), QString("57%"));
        QCOMPARE(world.userLines(), QStringList({TestWorld::styled("<b>mp3</b> player mute"),
                                                 TestWorld::styled("<b>playing</b>: tone"),
                                                 TestWorld::styled("<b>mp3</b> player unmute")}));
    }

    // At exactly -500 and 500 the label keeps what it said.
    void balanceLabelFollowsTheBar()
    {
        TestWorld world;
        Form1 &form = startWithTracks(world, {});
        QCOMPARE(form.Label9->text(), QString("center"));
        const std::pair<int, const char *> moves[] = {
            {-500, "center"}, {-501, "Left"}, {500, "Left"}, {501, "Right"}, {499, "Center"}};
        for (const auto &[value, label] : moves) {
            form.HScroll3->setValue(value);
            QCOMPARE(form.Label9->text(), QString(label));
        }
    }
};

DUN2_TEST(SoundControlsTest);
#include "tst_soundcontrols.moc"
