#include "player/mediaplayer.h"
#include "support/audiofiles.h"
#include "support/levelsink.h"
#include "support/testregistry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gst/gst.h>

#include <memory>
#include <sys/stat.h>

namespace {

// The bus of the pipeline an element plays in; every bin inside has a bus
// of its own.
GstBus *pipelineBus(GstElement *element)
{
    GstObject *top = GST_OBJECT(gst_object_ref(element));
    while (GstObject *parent = gst_object_get_parent(top)) {
        gst_object_unref(top);
        top = parent;
    }
    GstBus *bus = gst_element_get_bus(GST_ELEMENT(top));
    gst_object_unref(top);
    return bus;
}

} // namespace

class MediaPlayerTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QByteArray m_short;  // 0.3 s
    QByteArray m_second; // 1 s
    QByteArray m_long;   // 10 s, longer than any test waits

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const auto make = [this](const char *name, double seconds, double frequencyHz) {
            makeMp3(m_dir.filePath(name), seconds, frequencyHz);
            return QFile::encodeName(m_dir.filePath(name));
        };
        m_short = make("short.mp3", 0.3, 440);
        m_second = make("second.mp3", 1.0, 880);
        m_long = make("long.mp3", 10.0, 440);
    }

    // A track plays whole, and only its end is an end. Pause, stop and the
    // states they leave are the buttons' test; the program's own device
    // output plays in the tests that run it.
    void playsWholeTracksToTheirEnd()
    {
        LevelSink sink;
        MediaPlayer player(sink.element());
        QSignalSpy ends(&player, &MediaPlayer::endOfStream);
        QVERIFY(player.load(m_second));
        QCOMPARE(player.playState(), MediaPlayer::Playing);
        QVERIFY(ends.wait(10000));
        // The decoder adds a few milliseconds of its own to the second.
        QVERIFY2(sink.playedSeconds() > 0.95 && sink.playedSeconds() < 1.25, QByteArray::number(sink.playedSeconds()));
        QCOMPARE(ends.count(), 1);
        QCOMPARE(player.playState(), MediaPlayer::Stopped);
    }

    // The track ends while the window thread is busy, and the user's Stop and
    // Play come before the end is seen: that end must not cut the replay short.
    void stoppedEndIsNotReported()
    {
        QSemaphore ended; // outlives the player, whose bus signals it
        LevelSink sink;
        MediaPlayer player(sink.element());
        QSignalSpy ends(&player, &MediaPlayer::endOfStream);
        // The sink is in the pipeline once a file is loaded.
        QVERIFY(player.load(m_short));
        const std::unique_ptr<GstBus, decltype(&gst_object_unref)> bus(pipelineBus(sink.element()),
                                                                       gst_object_unref);
        gst_bus_set_sync_handler(
            bus.get(),
            [](GstBus *, GstMessage *message, gpointer data) {
                if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS)
                    static_cast<QSemaphore *>(data)->release();
                return GST_BUS_PASS;
            },
            &ended, nullptr);
        QVERIFY(ended.tryAcquire(1, 10000));
        player.stop();
        sink.reset();
        player.play();
        QVERIFY(ends.wait(10000));
        QCOMPARE(ends.count(), 1);
        QVERIFY2(sink.playedSeconds() > 0.25, QByteArray::number(sink.playedSeconds()));
    }

    void refusesWhatItCannotPlay_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("playingBefore");
        // A FIFO or a device would hold the window thread in open() for good.
        // Every other one comes while a track plays. A file gone or empty is
        // refused in the tests that run the program.
        bool playing = true;
        for (const char *what : {"text", "directory", "fifo", "device"}) {
            playing = !playing;
            QTest::addRow("%s%s", what, playing ? " while playing" : "") << what << playing;
        }
    }

    void refusesWhatItCannotPlay()
    {
        QFETCH(QString, what);
        QFETCH(bool, playingBefore);
        QString path = m_dir.filePath(QTest::currentDataTag() + QString(".mp3"));
        QFile file(path);
        if (what == "text") {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("Just words, no sound: a playlist someone named .mp3\n");
        } else if (what == "fifo") {
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (what == "device") {
            QVERIFY(QFile::link("/dev/zero", path));
        } else {
            path = m_dir.filePath("folder.mp3");
            QVERIFY(QDir(m_dir.path()).mkpath("folder.mp3"));
        }
        file.close();

        MediaPlayer player(MediaPlayer::AudioOutput::Silent);
        QSignalSpy ends(&player, &MediaPlayer::endOfStream);
        if (playingBefore)
            QVERIFY(player.load(m_long));

        QVERIFY(!player.load(QFile::encodeName(path)));
        QCOMPARE(player.playState(), MediaPlayer::Stopped);
        player.play();
        QCOMPARE(player.playState(), MediaPlayer::Stopped);

        // The player is not left broken: the next good file plays, and it is
        // the only one that ends. The sink keeps real time, so an end that
        // comes sooner than the track lasts is one left over from before;
        // the second play's end is the sentinel for a late one.
        for (int played = 1; played <= 2; ++played) {
            QElapsedTimer clock;
            clock.start();
            QVERIFY(player.load(m_short));
            QVERIFY(ends.wait(10000));
            QVERIFY2(clock.elapsed() >= 250, QByteArray::number(clock.elapsed()));
            QCOMPARE(ends.count(), played);
            QCOMPARE(player.playState(), MediaPlayer::Stopped);
        }
    }
};

DUN2_TEST(MediaPlayerTest);
#include "tst_mediaplayer.moc"
