// The program on a private session bus, as the desktop's media keys and
// playerctl reach it: what each road does is heard in the room and seen on
// the bus, and a change made in the room is followed on the bus.
#include "chat/announcement.h"
#include "support/audiofiles.h"
#include "support/program.h"
#include "support/testregistry.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Service = "org.mpris.MediaPlayer2.dun2";

QByteArray announced(const QString &message)
{
    return "alice:\t" + StylePieces::initial().styledLine(message).toUtf8() + "\n";
}

QByteArray playerctl(const QString &arguments)
{
    QProcess run;
    run.start("playerctl", QStringList{"--player=dun2"} + arguments.split(' '));
    run.waitForFinished(30000);
    return run.readAllStandardOutput().trimmed();
}

// What the player tells its followers on the bus: each Seeked position.
class Follower : public QObject
{
    Q_OBJECT

public:
    QList<qlonglong> seeked;

public slots:
    void seekedTo(qlonglong position) { seeked << position; }
};

// A program whose home is its music folder, holding 20-second tracks of
// these names, started and on the bus.
struct RunningPlayer {
    QTemporaryDir home;
    std::unique_ptr<Program> program;

    explicit RunningPlayer(const QStringList &tracks)
    {
        for (const QString &track : tracks)
            makeMp3(home.filePath(track + ".mp3"), 20);
        fillHome(home.path());
        program = std::make_unique<Program>(home.path(), QStringList{"--screen-name", "alice"});
        QVERIFY(program->saidOnOut(announced("user: Ann")));
        QTRY_VERIFY_WITH_TIMEOUT(QDBusConnection::sessionBus().interface()->isServiceRegistered(Service), 15000);
    }
};

// One road's action: a line typed in the room (".…") or a playerctl
// command; what the room hears of it, if anything; then a question to
// playerctl, if any, and the pattern its answer matches.
struct Step {
    QString road, said, question, answer;
};

} // namespace

class MprisTest : public QObject
{
    Q_OBJECT

private slots:
    void playerctlControlsAndFollowsThePlayer()
    {
        QTemporaryDir home;
        for (const QString track : {"a", "b"})
            makeMp3(home.filePath(track + ".mp3"), 20);
        fillHome(home.path());
        Program program(home.path(), {"--screen-name", "alice"});
        QVERIFY(program.saidOnOut(announced("user: Ann")));
        QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
        QTRY_VERIFY_WITH_TIMEOUT(bus->isServiceRegistered(Service), 15000);
        QProcess follow;
        QByteArray followed;
        const auto seen = [&](const QByteArray &line) { return (followed += follow.readAll()).contains(line); };

        const Step steps[] = {
            {"next", "<b>playing</b>: a", "status", "Playing"},
            {"play-pause", "<b>paused</b>: a", "status", "Paused"},
            {"play-pause", "<b>playing</b>: a", "metadata xesam:title", "a"},
            {"next", "<b>playing</b>: b", "metadata", ".*xesam:url +file:///.*/b\\.mp3"},
            {".pause", "<b>paused</b>: b", "metadata mpris:trackid", "'/io/github/dun2/track/\\d+'"},
            {"previous", "<b>playing</b>: a", "metadata mpris:length", "[12]\\d{7}"},
            {"stop", "<b>stopped</b>: a", "status", "Stopped"},
            {"volume 0.4", "", "volume", "0\\.40*"},
            {"volume 0.004", "", "volume", "0\\.010*"},
            {".vol 25", "<b>volume</b> set 25%", "volume", "0\\.250*"},
            {"shuffle On", "", "shuffle", "On"},
            {".arand", "<b>a</b>uto <b>rand</b>om is already on", "", ""},
            {".xrand", "<b>a</b>uto <b>rand</b>om mode turned off", "shuffle", "Off"},
        };
        for (const Step &step : steps) {
            const QByteArray said = step.said.isEmpty() ? QByteArray() : announced(step.said);
            const qsizetype before = program.out().count(said);
            if (step.road.startsWith('.'))
                program.type(step.road.toUtf8());
            else
                playerctl(step.road);
            if (!said.isEmpty())
                QTRY_VERIFY2_WITH_TIMEOUT(program.out().count(said) > before, said, 15000);
            // Followed from the first track on: playerctl prints a player's
            // state as it starts only when a track is there.
            if (follow.state() == QProcess::NotRunning) {
                follow.start("playerctl", {"--player=dun2", "--follow", "metadata", "--format",
                                           "{{status}} {{title}} {{volume}}"});
                QTRY_VERIFY_WITH_TIMEOUT(follow.canReadLine(), 15000);
            }
            const QRegularExpression answer(QRegularExpression::anchoredPattern(step.answer),
                                            QRegularExpression::DotMatchesEverythingOption);
            QByteArray heard; // a track's length comes once it plays
            const auto answered = [&] { return answer.match(heard = playerctl(step.question)).hasMatch(); };
            QTRY_VERIFY2_WITH_TIMEOUT(step.question.isEmpty() || answered(), step.road.toUtf8() + ": " + heard, 15000);
        }
        // The room's own changes, followed on the bus.
        QTRY_VERIFY2_WITH_TIMEOUT(seen("Paused b 1") && seen("Stopped a 0.25"), followed, 15000);
        follow.kill();

        QDBusInterface root(Service, "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2");
        QDBusInterface player(Service, "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player");
        for (const char *can : {"CanQuit", "CanRaise", "CanControl", "CanGoNext", "CanPlay"})
            QVERIFY2(root.property(can).toBool() || player.property(can).toBool(), can);
        for (const char *cannot : {"HasTrackList", "CanSeek", "CanPause", "CanGoPrevious"})
            QVERIFY2(!root.property(cannot).toBool() && !player.property(cannot).toBool(), cannot);

        // A second player finds the name taken, one without a bus finds no
        // bus: both answer as ever, and say nothing of it.
        const QString ownBus = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
        for (const QString &address : {ownBus, QString("unix:path=/nowhere")}) {
            Program other(home.path(), {"--screen-name", "alice"}, {"DBUS_SESSION_BUS_ADDRESS=" + address});
            other.type(".mp3s?");
            QVERIFY(other.saidOnOut(announced("<b>mp3 count </b>2")));
            QCOMPARE(other.exitCode(), 0);
            QVERIFY2(!other.errors().toLower().contains("bus"), other.errors());
        }

        QCOMPARE(root.call("Raise").type(), QDBusMessage::ReplyMessage);
        QVERIFY(program.saidOnOut(announced("<b>iface </b>showing")));
        QCOMPARE(root.call("Quit").type(), QDBusMessage::ReplyMessage);
        QVERIFY(program.saidOnOut(announced(QString::fromUtf8("Ðûñ² unløªded "))));
        QCOMPARE(program.exitCode(), 0);
    }

    // A sound menu's play button and position slider, from a fresh start.
    void playsTheFirstEntryAndSeeks()
    {
        RunningPlayer player({"b", "a"});
        Program &program = *player.program;
        QDBusInterface mpris(Service, "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player");
        QVERIFY(mpris.property("CanPlay").toBool());
        QVERIFY(!mpris.property("CanSeek").toBool());
        playerctl("play");
        QVERIFY(program.saidOnOut(announced("<b>playing</b>: a")));
        QTRY_VERIFY_WITH_TIMEOUT(mpris.property("CanSeek").toBool(), 15000);

        Follower follower;
        QVERIFY(QDBusConnection::sessionBus().connect(Service, "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player",
                                                      "Seeked", &follower, SLOT(seekedTo(qlonglong))));
        playerctl("position 5");
        QTRY_COMPARE_WITH_TIMEOUT(follower.seeked, QList<qlonglong>{5000000}, 15000);
        const double at = playerctl("position").toDouble();
        QVERIFY2(at >= 5 && at < 8, QByteArray::number(at));
        playerctl("position 2+");
        QTRY_COMPARE_WITH_TIMEOUT(follower.seeked.size(), 2, 15000);
        QVERIFY(follower.seeked.last() >= 7000000 && follower.seeked.last() < 10000000);

        // Another track's id, or a position outside the track, is ignored;
        // the last call, within this one, is the sentinel.
        const QVariant track = mpris.property("Metadata").toMap().value("mpris:trackid");
        const QDBusObjectPath current = qdbus_cast<QDBusObjectPath>(track);
        for (const auto &[id, position] : {std::pair{QDBusObjectPath("/io/github/dun2/track/0"), 3000000LL},
                                           {current, -1LL}, {current, 25000000LL}, {current, 1000000LL}})
            QCOMPARE(mpris.call("SetPosition", QVariant::fromValue(id), position).type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE_WITH_TIMEOUT(follower.seeked.size(), 3, 15000);
        QCOMPARE(follower.seeked.last(), 1000000);
    }

    // OpenUri plays a file of another folder, which becomes the MP3
    // folder as the path chooser makes it; anything else is refused,
    // saying why, and changes nothing.
    void openUriPlaysTheFileAndStoresItsFolder()
    {
        RunningPlayer player({"a"});
        Program &program = *player.program;
        const QString other = player.home.filePath("other");
        QVERIFY(QDir().mkpath(other + "/folder.mp3"));
        makeMp3(other + "/c.mp3", 20);
        makeMp3(other + "/d.mp3", 20);
        QFile(other + "/notes.txt").open(QIODevice::WriteOnly);
        QDBusInterface mpris(Service, "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player");
        const std::pair<QString, QString> refused[] = {
            {"http://example.org/d.mp3", "not a file:// URI"},
            {"file:///nowhere/d.mp3", "no such file"},
            {"file://" + other + "/notes.txt", "not an MP3 file"},
            {"file://" + other + "/folder.mp3", "a folder"},
        };
        for (const auto &[uri, why] : refused) {
            const QDBusMessage answer = mpris.call("OpenUri", uri);
            QCOMPARE(answer.type(), QDBusMessage::ErrorMessage);
            QVERIFY2(answer.errorMessage().contains(why), qPrintable(answer.errorMessage()));
        }
        playerctl("open file://" + other + "/d.mp3");
        QVERIFY(program.saidOnOut(announced("<b>playing</b>: d")));
        QCOMPARE(program.out().count("set path to"), 1);
        QVERIFY(program.out().contains(announced("Ann set path to " + other)));
        QFile prefs(player.home.filePath("prefs.ini"));
        QVERIFY(prefs.open(QIODevice::ReadOnly));
        const QByteArray stored = prefs.readAll();
        QVERIFY2(stored.contains("MP3 PATH=" + QFile::encodeName(other) + "\r\n"), stored);
        program.type(".mp3s?");
        QVERIFY(program.saidOnOut(announced("<b>mp3 count </b>2")));
    }

    // A second "dun2 FILE" hands the file to the player that runs and
    // leaves; one it cannot play is refused there, and the second says why.
    // Without a bus the second is a player of its own, playing the file.
    void aSecondDun2HandsItsFileOver()
    {
        RunningPlayer player({"a", "b"});
        Program &program = *player.program;
        const QString otherHome = player.home.filePath("second");
        QFile(player.home.filePath("notes.txt")).open(QIODevice::WriteOnly);
        Program refused(otherHome, {"notes.txt"}, {}, player.home.path());
        QCOMPARE(refused.exitCode(), 1);
        QVERIFY2(refused.errors().contains("not an MP3 file"), refused.errors());
        Program second(otherHome, {"./b.mp3"}, {}, player.home.path());
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(program.saidOnOut(announced("<b>playing</b>: b")));
        QCOMPARE(program.out().count("set path to"), 1);
        QVERIFY2(second.out().isEmpty(), second.out()); // no player of its own said it had loaded

        Program alone(player.home.path(), {"--screen-name", "alice", "file://" + player.home.filePath("a.mp3")},
                      {"DBUS_SESSION_BUS_ADDRESS=unix:path=/nowhere"});
        QVERIFY(alone.saidOnOut(announced("<b>playing</b>: a")));
    }
};

DUN2_TEST(MprisTest);
#include "tst_mpris.moc"
