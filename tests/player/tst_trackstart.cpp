#include "app/programcore.h"
#include "chat/chatworld.h"
#include "desktop/mprisplayer.h"
#include "platform/programend.h"
#include "player/mediaplayer.h"
#include "player/pipelineworker.h"
#include "support/testregistry.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QSocketNotifier>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gst/gst.h>
#include <unistd.h>
#include <utility>
#include <vector>

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

// Files whose opening hangs, as on a network or FUSE mount that stopped
// answering, while looking at them still works: the test holds a write
// lease on each, so every open() of one waits until the lease is let go (or
// the kernel's lease-break time, 45 s by default, runs out). The kernel
// tells the holder with SIGIO the moment someone tries to open one;
// `opening` then runs on the window thread, if it is free to run anything.
class HungOpen
{
public:
    explicit HungOpen(const QStringList &paths)
    {
        QVERIFY(pipe(s_told) == 0);
        struct sigaction told = {};
        told.sa_handler = [](int) {
            // Nothing to do in a signal handler when the pipe is full: it is told already.
            [[maybe_unused]] const ssize_t written = write(s_told[1], "!", 1);
        };
        QVERIFY(sigaction(SIGIO, &told, nullptr) == 0);
        m_notifier = std::make_unique<QSocketNotifier>(s_told[0], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
            char byte;
            if (read(s_told[0], &byte, 1) != 1)
                return;
            if (const auto opening = std::exchange(this->opening, {}))
                opening();
        });
        for (const QString &path : paths) {
            m_leases.push_back(open(QFile::encodeName(path).constData(), O_RDONLY));
            QVERIFY2(m_leases.back() >= 0 && fcntl(m_leases.back(), F_SETLEASE, F_WRLCK) == 0,
                     "no lease on the file");
        }
    }
    ~HungOpen()
    {
        release();
        m_notifier.reset();
        signal(SIGIO, SIG_IGN);
        close(s_told[0]);
        close(s_told[1]);
    }
    // The mount answers again.
    void release()
    {
        for (const int lease : std::exchange(m_leases, {}))
            close(lease);
    }

    std::function<void()> opening;

private:
    static inline int s_told[2] = {-1, -1};
    std::vector<int> m_leases;
    std::unique_ptr<QSocketNotifier> m_notifier;
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

    // The file system under "a" stops answering as the player opens it: the
    // lines said then are answered at once, "a" can't play once its time is
    // up, and "b" plays while "a" is still being opened, and again after.
    void aFileThatHangsHoldsNothingUp_data()
    {
        QTest::addColumn<QStringList>("meanwhile");
        QTest::addColumn<QStringList>("said");
        const QString volume = "<b>volume</b> set 50%", cannot = "<b>error</b>, can't play: a",
                      b = "<b>playing</b>: b";
        QTest::newRow("volume") << QStringList{".vol 50"} << QStringList{volume, cannot, b, b};
        QTest::newRow("another track") << QStringList{".p b"} << QStringList{cannot, b, b, b};
    }

    void aFileThatHangsHoldsNothingUp()
    {
        QFETCH(QStringList, meanwhile);
        QFETCH(QStringList, said);
        TestWorld world;
        startWithTracks(world, {"a.mp3", "b.mp3"}, 10);
        HungOpen hung({world.musicDir() + "/a.mp3"});
        bool opened = false;
        hung.opening = [&] {
            opened = true;
            for (const QString &line : meanwhile)
                world.say(line);
        };
        QElapsedTimer clock;
        clock.start();
        world.say(".p a");
        QVERIFY(world.waitUntilHandled(15000));
        QVERIFY(opened);
        QVERIFY2(clock.elapsed() >= 5000, QByteArray::number(clock.elapsed()));
        for (const char *line : {".p b", ".p b"})
            world.say(line);
        QVERIFY(world.waitUntilHandled());
        QCOMPARE(announcements(world), said);
        QCOMPARE(world.player.playState(), MediaPlayer::Playing);
        QCOMPARE(world.player.fileName(), world.musicDir() + "/b.mp3");
    }

    // A mount that never answers, its files asked for again and again: a
    // few hung starts are left behind, each with its thread, and then the
    // player refuses every file at once rather than leave more; once the
    // mount answers, it plays again.
    void aMountThatNeverAnswersCostsABoundedAmount()
    {
        const QStringList hungNames{"h1", "h2", "h3", "h4"};
        TestWorld world;
        startWithTracks(world, {"h1.mp3", "h2.mp3", "h3.mp3", "h4.mp3", "b.mp3"}, 10);
        QStringList hungPaths, said;
        for (const QString &name : hungNames) {
            hungPaths << world.musicDir() + "/" + name + ".mp3";
            said << "<b>error</b>, can't play: " + name;
        }
        HungOpen hung(hungPaths);
        for (const QString &name : hungNames) {
            world.say(".p " + name);
            QVERIFY(world.waitUntilHandled(15000));
        }
        world.say(".p b");
        QVERIFY(world.waitUntilHandled());
        said << "<b>error</b>, can't play: b";
        QCOMPARE(announcements(world), said);

        hung.release();
        QTRY_COMPARE_WITH_TIMEOUT(PipelineWorker::leftBehind(), 0, 10000);
        world.say(".p b");
        QVERIFY(world.waitUntilHandled());
        QCOMPARE(announcements(world).last(), "<b>playing</b>: b");
        QCOMPARE(world.player.playState(), MediaPlayer::Playing);
    }
};

DUN2_TEST(TrackStartTest);
#include "tst_trackstart.moc"
