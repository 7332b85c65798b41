#include "app/programcore.h"
#include "chat/chatworld.h"
#include "desktop/mprisplayer.h"
#include "platform/programend.h"
#include "player/mediaplayer.h"
#include "support/testregistry.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTest>
#include <algorithm>
#include <functional>
#include <gst/gst.h>
#include <utility>

namespace {

// A sink that keeps real time and holds back the first sound it is given
// until the test lets it go: the start stalls as on a file system that does
// not answer. `held` runs on the window thread once the start is held.
struct HeldSink {
    HeldSink()
    {
        g_object_set(sink, "sync", TRUE, nullptr);
        const auto holding = [](GstPad *, GstPadProbeInfo *, gpointer self) {
            auto *that = static_cast<HeldSink *>(self);
            QMetaObject::invokeMethod(&that->context, that->held, Qt::QueuedConnection);
            return GST_PAD_PROBE_OK;
        };
        probe = gst_pad_add_probe(pad, GstPadProbeType(GST_PAD_PROBE_TYPE_BLOCK | GST_PAD_PROBE_TYPE_BUFFER),
                                  holding, this, nullptr);
    }
    ~HeldSink()
    {
        release();
        gst_object_unref(pad);
        gst_object_unref(sink);
    }
    // Lets every sound through from now on.
    void release()
    {
        if (const gulong held = std::exchange(probe, 0))
            gst_pad_remove_probe(pad, held);
    }

    GstElement *sink = GST_ELEMENT(gst_object_ref_sink(gst_element_factory_make("fakesink", nullptr)));
    GstPad *pad = gst_element_get_static_pad(sink, "sink");
    gulong probe = 0;
    std::function<void()> held; // set before anything plays
    QObject context;            // a call still queued when the test ends is dropped
};

} // namespace

class TrackStartTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { gst_init(nullptr, nullptr); }

    // ".p a" is held in its start, and the lines said then are handled at
    // once; the volume's answer lets the sound go ("times out": it never
    // does). A road that changes what plays comes after the start, as if it
    // had been said once the start was done: the start is told first. The
    // verdict is told as it comes, also while a handler that began meanwhile
    // still waits (here the test's own, as a dialog or a listing would), but
    // never after the program's goodbye, whose farewell lets the sound go.
    void linesAreAnsweredWhileATrackStarts_data()
    {
        QTest::addColumn<QStringList>("meanwhile");
        QTest::addColumn<bool>("timesOut");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<QString>("playing"); // the track loaded at the end, "" when stopped
        const QString volume = "<b>volume</b> set 50%", a = "<b>playing</b>: a";
        QTest::newRow("volume") << QStringList{".vol 50"} << false << QStringList{volume, a} << "a.mp3";
        QTest::newRow("a handler waits") << QStringList{".vol 50", "wait"} << false << QStringList{volume, a}
                                         << "a.mp3";
        QTest::newRow("stop") << QStringList{".stop", ".vol 50"} << false
                              << QStringList{volume, a, "<b>stopped</b>: a"} << "";
        // A desktop's play-pause key pressed again before the sound comes.
        QTest::newRow("play-pause") << QStringList{"play-pause", ".vol 50"} << false
                                    << QStringList{volume, a, "<b>paused</b>: a"} << "a.mp3";
        QTest::newRow("another track") << QStringList{".p b", ".vol 50"} << false
                                       << QStringList{volume, a, "<b>playing</b>: b"} << "b.mp3";
        QTest::newRow("exit") << QStringList{".exit"} << false << QStringList{QString::fromUtf8("Ðûñ² unløªded ")}
                              << "a.mp3";
        QTest::newRow("times out") << QStringList{".vol 50"} << true
                                   << QStringList{volume, "<b>error</b>, can't play: a", "<b>playing</b>: b"}
                                   << "b.mp3";
    }

    void linesAreAnsweredWhileATrackStarts()
    {
        QFETCH(QStringList, meanwhile);
        QFETCH(bool, timesOut);
        QFETCH(QStringList, said);
        QFETCH(QString, playing);
        HeldSink sink;
        TestWorld world("tester", sink.sink);
        // Long enough to play on past the last check.
        startWithTracks(world, {"a.mp3", "b.mp3"}, 10);
        QObject published;
        MprisPlayer mpris(&published, *world.mainWindow().program().playerActions, world.mainWindow().commandContext().program);
        bool toldWhileWaiting = true;
        sink.held = [&] {
            for (const QString &line : meanwhile) {
                if (line == "wait") // for the volume's answer and the verdict, by name: the
                    // sentinel the test says after ".p a" may be answered among them
                    toldWhileWaiting = QTest::qWaitFor(
                        [&] {
                            const QStringList told = announcements(world);
                            return std::all_of(said.begin(), said.end(),
                                               [&](const QString &line) { return told.contains(line); });
                        },
                        10000);
                else if (line == "play-pause") // as the bus calls it: from the event loop
                    QMetaObject::invokeMethod(&mpris, &MprisPlayer::PlayPause, Qt::QueuedConnection);
                else
                    world.say(line);
            }
        };
        setProgramFarewell([&](const QString &, const std::function<void()> &done) {
            sink.release();
            // Whether it came to play is checked at the end.
            static_cast<void>(
                QTest::qWaitFor([&] { return world.player.playState() == MediaPlayer::Playing; }, 10000));
            done();
        });
        const auto forget = qScopeGuard([] { setProgramFarewell({}); });
        QObject::connect(&world.client(), &ChatClient::lineReceived, &world.client(),
                         [&](WindowHandle, const ChatClientLine &line) {
                             if (line.text == TestWorld::styled("<b>volume</b> set 50%") && !timesOut)
                                 sink.release();
                         });
        QElapsedTimer clock;
        clock.start();
        world.say(".p a");
        QVERIFY(world.waitUntilHandled(15000));
        QVERIFY(toldWhileWaiting);
        if (timesOut) {
            // The search waits 0.3 s before the start, which has 5 s to play.
            QVERIFY2(clock.elapsed() >= 5300, QByteArray::number(clock.elapsed()));
            sink.release();
            world.say(".p b");
            QVERIFY(world.waitUntilHandled());
        }
        QCOMPARE(announcements(world), said);
        const MediaPlayer::State end = playing.isEmpty()                     ? MediaPlayer::Stopped
                                       : said.last().startsWith("<b>paused") ? MediaPlayer::Paused
                                                                             : MediaPlayer::Playing;
        QCOMPARE(world.player.playState(), end);
        if (!playing.isEmpty())
            QCOMPARE(world.player.fileName(), world.musicDir() + "/" + playing);
    }
};

DUN2_TEST(TrackStartTest);
#include "tst_trackstart.moc"
