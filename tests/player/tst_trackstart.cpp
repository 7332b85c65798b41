#include "chat/chatworld.h"
#include "player/mediaplayer.h"
#include "support/testregistry.h"

#include <QElapsedTimer>
#include <QTest>
#include <atomic>
#include <functional>
#include <gst/gst.h>

namespace {

// A sink that keeps real time and holds back the first sound it is given
// until the test lets it go: the start stalls as on a file system that does
// not answer. The test hears on the window thread that the start is held;
// releasing lets every sound through from then on.
class HeldSink
{
public:
    HeldSink()
    {
        gst_init(nullptr, nullptr);
        m_sink = GST_ELEMENT(gst_object_ref_sink(gst_element_factory_make("fakesink", nullptr)));
        g_object_set(m_sink, "sync", TRUE, nullptr);
        GstPad *pad = gst_element_get_static_pad(m_sink, "sink");
        m_probe = gst_pad_add_probe(pad, GstPadProbeType(GST_PAD_PROBE_TYPE_BLOCK | GST_PAD_PROBE_TYPE_BUFFER),
                                    &HeldSink::holding, this, nullptr);
        gst_object_unref(pad);
    }
    ~HeldSink()
    {
        release();
        gst_object_unref(m_sink);
    }
    GstElement *element() const { return m_sink; }
    // Set before anything plays.
    void whenHeld(std::function<void()> held) { m_held = std::move(held); }
    void release()
    {
        if (!m_probe)
            return;
        GstPad *pad = gst_element_get_static_pad(m_sink, "sink");
        gst_pad_remove_probe(pad, m_probe);
        gst_object_unref(pad);
        m_probe = 0;
    }

private:
    // On the streaming thread, once a buffer waits here.
    static GstPadProbeReturn holding(GstPad *, GstPadProbeInfo *, gpointer self)
    {
        auto *sink = static_cast<HeldSink *>(self);
        if (!sink->m_told.exchange(true))
            QMetaObject::invokeMethod(&sink->m_context, sink->m_held, Qt::QueuedConnection);
        return GST_PAD_PROBE_OK;
    }

    GstElement *m_sink = nullptr;
    std::function<void()> m_held;
    QObject m_context; // a call still queued when the test ends is dropped
    gulong m_probe = 0;
    std::atomic<bool> m_told{false};
};

} // namespace

class TrackStartTest : public QObject
{
    Q_OBJECT

private slots:
    // ".p a" is held in its start; the lines said then are handled at once.
    // The volume's answer comes before the start's verdict, and the sound
    // is let go once it came ("never": the start times out). A road that
    // changes what plays comes after the start, as when the start was done
    // before it was said: the start's line goes first. The verdict is told
    // when it comes, also while a handler that began meanwhile still waits
    // (here the test's own, as a dialog or a listing would).
    void linesAreAnsweredWhileATrackStarts_data()
    {
        QTest::addColumn<QStringList>("meanwhile");
        QTest::addColumn<bool>("released");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<QString>("playing"); // the track playing at the end
        const QString volume = "<b>volume</b> set 50%", a = "<b>playing</b>: a";
        QTest::newRow("volume") << QStringList{".vol 50"} << true << QStringList{volume, a} << "a.mp3";
        QTest::newRow("a handler waits") << QStringList{".vol 50", "wait"} << true << QStringList{volume, a}
                                         << "a.mp3";
        QTest::newRow("stop") << QStringList{".stop", ".vol 50"} << true
                              << QStringList{volume, a, "<b>stopped</b>: a"} << "";
        QTest::newRow("another track") << QStringList{".p b", ".vol 50"} << true
                                       << QStringList{volume, a, "<b>playing</b>: b"} << "b.mp3";
        QTest::newRow("never") << QStringList{".vol 50"} << false
                               << QStringList{volume, "<b>error</b>, can't play: a", "<b>playing</b>: b"} << "b.mp3";
    }

    void linesAreAnsweredWhileATrackStarts()
    {
        QFETCH(QStringList, meanwhile);
        QFETCH(bool, released);
        QFETCH(QStringList, said);
        QFETCH(QString, playing);
        HeldSink sink;
        TestWorld world("tester", sink.element());
        // Long enough to play on past the last check.
        startWithTracks(world, {"a.mp3", "b.mp3"}, 10);
        bool answeredBeforeVerdict = false;
        qint64 verdictMs = -1;
        bool toldWhileWaiting = true;
        sink.whenHeld([&] {
            for (const QString &line : meanwhile) {
                if (line == "wait")
                    toldWhileWaiting = QTest::qWaitFor([&] { return verdictMs >= 0; }, 10000);
                else
                    world.say(line);
            }
        });

        QElapsedTimer clock;
        const QStringList verdicts{TestWorld::styled("<b>playing</b>: a"),
                                   TestWorld::styled("<b>error</b>, can't play: a")};
        QObject::connect(&world.client(), &ChatClient::lineReceived, &world.client(),
                         [&](WindowHandle, const ChatClientLine &line) {
                             if (line.text == TestWorld::styled("<b>volume</b> set 50%")) {
                                 answeredBeforeVerdict = verdictMs < 0;
                                 if (released)
                                     sink.release();
                             } else if (verdicts.contains(line.text) && verdictMs < 0) {
                                 verdictMs = clock.elapsed();
                             }
                         });
        clock.start();
        world.say(".p a");
        QVERIFY(world.waitUntilHandled(15000));
        QVERIFY(answeredBeforeVerdict);
        QVERIFY(toldWhileWaiting);
        if (!released) {
            // The search waits 0.3 s before the start, which may take 5 s to play.
            QVERIFY2(verdictMs >= 5300, QByteArray::number(verdictMs));
            sink.release();
            world.say(".p b");
            QVERIFY(world.waitUntilHandled());
        }
        QCOMPARE(announcements(world), said);
        QCOMPARE(world.player.PlayState(), playing.isEmpty() ? MediaPlayer::Stopped : MediaPlayer::Playing);
        if (!playing.isEmpty())
            QCOMPARE(world.player.FileName(), world.musicDir() + "/" + playing);
    }
};

DUN2_TEST(TrackStartTest);
#include "tst_trackstart.moc"
