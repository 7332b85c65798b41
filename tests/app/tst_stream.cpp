// The stream the room listens to, on a real Icecast server.
#include "support/audiofiles.h"
#include "support/icecastserver.h"
#include "support/program.h"
#include "support/testregistry.h"

#include <QTemporaryDir>

namespace {

const QString password = QStringLiteral("source-secret");

// A home whose music folder holds two real tracks, long enough to play on
// through the test, each a tone of its own.
void twoTracks(const QTemporaryDir &home)
{
    fillHome(home.path());
    makeMp3(home.filePath("alpha.mp3"), 60.0, 440);
    makeMp3(home.filePath("beta.mp3"), 60.0, 660);
}

bool hears(StreamListener &listener, const QString &title)
{
    listener.resetHeard();
    return QTest::qWaitFor(
        [&] {
            listener.update();
            return listener.heardSound() && listener.titles().contains(title);
        },
        15000);
}

} // namespace

class StreamTest : public QObject
{
    Q_OBJECT

private slots:
    // A server that is down at the start is tried again until it is up;
    // the room is told once where to listen; a listener hears what plays,
    // titled as it is announced, from track to track; a restart of the
    // server loses the stream only until it is back, and the owner's track
    // plays on meanwhile. Paused, the stream stays connected with silence,
    // well past the time the server drops a quiet source.
    void theRoomHearsWhatPlays()
    {
        TestIcecast icecast(password);
        QTemporaryDir home;
        twoTracks(home);
        const QString url = icecast.listenUrl("room.mp3");
        Program player(home.path(), {"--console", "--stream", url}, {"DUN2_STREAM_PASSWORD=" + password});
        QVERIFY2(player.saidOnError("the stream is down, trying again"), player.errors());
        QVERIFY(icecast.start());
        QVERIFY2(player.saidOnError("the stream is live at " + url.toUtf8(), 20000), player.errors());
        QVERIFY2(player.saidOnOut("<b>listen</b> at " + url.toUtf8()), player.out());

        StreamListener listener(url);
        player.type(".p alpha");
        QVERIFY2(hears(listener, "alpha"), qPrintable(listener.titles().join('|')));
        player.type(".p beta");
        QVERIFY2(hears(listener, "beta"), qPrintable(listener.titles().join('|')));

        icecast.stop();
        QTRY_VERIFY_WITH_TIMEOUT(player.errors().count("the stream is down") >= 2, 15000);
        QVERIFY(icecast.start());
        QVERIFY2(player.saidOnError("the stream is live again", 20000), player.errors());
        StreamListener again(url);
        QVERIFY2(hears(again, "beta"), qPrintable(again.titles().join('|')));
        player.type(".pause");
        QVERIFY2(player.saidOnOut("<b>paused</b>: beta"), player.out());

        // Silent for twice as long as the server keeps a quiet source; then
        // the same listener hears the next track.
        QTest::qWait(4000);
        player.type(".p alpha");
        QVERIFY2(hears(again, "alpha"), qPrintable(again.titles().join('|')));
        QVERIFY(!again.failed());
        QCOMPARE(player.out().count("<b>listen</b>"), 1);
    }

    // A wrong password is said, and tried again, while the owner plays on.
    void aRefusedStreamLeavesPlayingAlone()
    {
        TestIcecast icecast(password);
        QVERIFY(icecast.start());
        QTemporaryDir home;
        twoTracks(home);
        Program player(home.path(), {"--console", "--stream", icecast.listenUrl("room.mp3")},
                       {"DUN2_STREAM_PASSWORD=wrong"});
        QVERIFY2(player.saidOnError("the stream is down, trying again"), player.errors());
        player.type(".p alpha");
        QVERIFY2(player.saidOnOut("<b>playing</b>: alpha"), player.out());
        player.type(".pause");
        QVERIFY2(player.saidOnOut("<b>paused</b>: alpha"), player.out());
        QVERIFY(!player.out().contains("<b>listen</b>"));
    }
};

DUN2_TEST(StreamTest);
#include "tst_stream.moc"
