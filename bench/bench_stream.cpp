// What the stream costs the player: the CPU time of the player's process
// (every thread, user and system) over 30 s of a track played while
// streaming to a real Icecast server with a listener on it, less the same
// 30 s played with no stream. The floor, measured in the same run, is the
// encoder's own cost, which no stream at this bitrate can do without:
// gst-launch-1.0 decoding the same 30 s and encoding them as the stream does
// (44.1 kHz stereo to MP3 at 128 kbit/s CBR), less the same decode alone.
// The decode is taken off because the player decodes the track for its
// owner anyway; what is left is the encoding, the one thing the stream adds
// that cannot be made cheaper from our side. Target: at most 1.2 times the
// floor: handing the sound to the encoder and its frames to the server may
// cost a fifth of encoding them, no more.
// Both launches run at the pace of playback (a synchronised fakesink), as
// a stream's encoder must: lame fed a little at a time, its tables cold
// again at every wake-up, costs close to twice what it costs run flat out
// over the whole file, and no live stream can encode sound before it is
// played. The flat-out figure is printed too, with no target.
// CPU time rather than wall time, so that a busy machine matters less; and
// the least of the runs of each, since other load only ever adds to it.
// Then, with no target, how long from `.p` to the track's first sound at a
// listener that was already taking the stream's silence: what the room
// waits after someone asks for a song.
// Usage: bench_stream [ignored] [program, else the dun2 built beside it]
#include "figures.h"
#include "processfloors.h"
#include "support/audiofiles.h"
#include "support/files.h"
#include "support/icecastserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr int windowMs = 30000;
// Each run, of the player or of a paced launch, is half a minute and more;
// three of each is what the make bench run can spare, and enough for the
// least to be a quiet one.
constexpr int rounds = 3;
constexpr double targetRatio = 1.2;
const QString password = QStringLiteral("bench-secret");

[[noreturn]] void giveUp(const char *why, const QByteArray &detail = {})
{
    std::fprintf(stderr, "bench_stream: %s\n%s\n", why, detail.constData());
    std::exit(1);
}

// The CPU time of one gst-launch-1.0 of `description`, from its own
// resource usage as it is reaped.
double launchCpuMs(const QByteArray &description)
{
    QList<QByteArray> words = description.split(' ');
    words.prepend("-q");
    words.prepend("gst-launch-1.0");
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        giveUp("can't run gst-launch-1.0 (is gstreamer1.0-tools installed?)");
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        giveUp("gst-launch-1.0 failed:", description);
    const auto ms = [](const timeval &time) { return time.tv_sec * 1e3 + time.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double least(const std::vector<double> &values)
{
    return *std::min_element(values.begin(), values.end());
}

struct PlayerRun {
    double cpuMs = 0;
    double firstSoundMs = -1; // from `.p` to the listener, when streaming
};

bool waitFor(QProcess &program, QByteArray &out, const QByteArray &part, int timeoutMs = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (!out.contains(part) && clock.elapsed() < timeoutMs) {
        program.waitForReadyRead(50);
        out += program.readAllStandardOutput();
    }
    return out.contains(part);
}

// One run of the player on `home`'s track.mp3; streaming to `url` unless it
// is empty.
PlayerRun playOnce(const QString &program, const QString &home, const QString &url)
{
    QProcess player;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DUN2_STREAM_PASSWORD", password);
    player.setProcessEnvironment(environment);
    QStringList arguments{"--console", "--home", home};
    if (!url.isEmpty())
        arguments << "--stream" << url;
    player.start(program, arguments);
    QByteArray out;
    const auto fail = [&](const char *why, const QByteArray &detail = {}) {
        giveUp(why, detail + "\n" + out + player.readAllStandardError());
    };
    if (!waitFor(player, out, url.isEmpty() ? "user: " : "<b>listen</b> at"))
        fail("the player did not start, or its stream did not go live:");

    std::unique_ptr<StreamListener> listener;
    if (!url.isEmpty()) {
        listener = std::make_unique<StreamListener>(url);
        const auto taking = [&] {
            listener->update();
            return listener->receiving() || listener->failed();
        };
        if (!QTest::qWaitFor(taking, 20000) || listener->failed())
            fail("no listener could take the stream");
        // Past the burst the server sends a new listener, which is silence.
        QTest::qWait(1000);
        listener->update();
        listener->resetHeard();
    }
    // Whatever start-up left to do, out of the window.
    QTest::qWait(1000);

    QElapsedTimer clock;
    clock.start();
    player.write(".p track\n");
    if (!waitFor(player, out, "<b>playing</b>: track"))
        fail("the track did not play:");
    PlayerRun run;
    const double before = cpuMs(player.processId());
    QElapsedTimer window;
    window.start();
    while (window.elapsed() < windowMs) {
        QTest::qWait(10);
        if (listener && run.firstSoundMs < 0) {
            listener->update();
            if (listener->heardSound())
                run.firstSoundMs = clock.nsecsElapsed() / 1e6;
        }
    }
    run.cpuMs = cpuMs(player.processId()) - before;
    if (listener && (run.firstSoundMs < 0 || !listener->titles().contains("track")))
        fail("the listener heard no track, or not its title:", listener->titles().join('|').toUtf8());
    player.kill();
    player.waitForFinished();
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString program = argc > 2 ? QString(argv[2]) : QCoreApplication::applicationDirPath() + "/../dun2";
    QTemporaryDir home;
    // The track outlasts the window; the floor's file is its first 30 s, from
    // the same tone made the same way.
    makeMp3(home.filePath("track.mp3"), windowMs / 1000.0 + 10);
    QTemporaryDir floorDir;
    const QString floorTrack = floorDir.filePath("floor.mp3");
    makeMp3(floorTrack, windowMs / 1000.0);
    if (!writeFile(home.filePath("prefs.ini"), "[info]\nmp3 path=" + QFile::encodeName(home.path()) + "\nhandle=Ann\n"))
        giveUp("can't write the preferences");

    // As the stream's own encoder is set up (StreamEncoder::start).
    const QByteArray decode = "filesrc location=" + QFile::encodeName(floorTrack)
                              + " ! decodebin ! audioconvert ! audioresample ! audio/x-raw,rate=44100,channels=2";
    TestIcecast icecast(password);
    if (!icecast.start())
        giveUp("Icecast did not start (is icecast2 installed?)");
    const QString url = icecast.listenUrl("bench.mp3");
    // Taken in turns, so that a busy spell falls on the floor as on the figure.
    const QByteArray encode = decode + " ! lamemp3enc target=bitrate cbr=true bitrate=128";
    std::vector<double> decodes, encodes, flatDecodes, flatEncodes, alone, streaming, firstSound;
    for (int run = 0; run < rounds; ++run) {
        decodes.push_back(launchCpuMs(decode + " ! fakesink sync=true"));
        encodes.push_back(launchCpuMs(encode + " ! fakesink sync=true"));
        flatDecodes.push_back(launchCpuMs(decode + " ! fakesink"));
        flatEncodes.push_back(launchCpuMs(encode + " ! fakesink"));
        alone.push_back(playOnce(program, home.path(), {}).cpuMs);
        const PlayerRun streamed = playOnce(program, home.path(), url);
        streaming.push_back(streamed.cpuMs);
        firstSound.push_back(streamed.firstSoundMs);
    }
    const double encoderMs = least(encodes) - least(decodes);
    const double addedMs = least(streaming) - least(alone);

    std::printf("bench_stream: CPU of the player over %d s of a track, and the encoder's own cost by"
                " gst-launch-1.0 at the pace of playback; least of %d runs each\n",
                windowMs / 1000, rounds);
    std::printf("    player alone %.0f ms, streaming %.0f ms; gst-launch decoding %.0f ms, decoding and encoding"
                " %.0f ms\n",
                least(alone), least(streaming), least(decodes), least(encodes));
    std::printf("    the encoder run flat out, no target: %.0f ms (decoding %.0f ms, decoding and encoding %.0f ms)\n",
                least(flatEncodes) - least(flatDecodes), least(flatDecodes), least(flatEncodes));
    const auto runs = [](const char *what, const std::vector<double> &values) {
        std::printf("    %s:", what);
        for (const double ms : values)
            std::printf(" %.0f", ms);
        std::printf(" ms\n");
    };
    runs("each run, player alone", alone);
    runs("each run, streaming", streaming);
    runs("each run, gst-launch decoding", decodes);
    runs("each run, gst-launch decoding and encoding", encodes);
    printAgainstFloor("what the stream adds", addedMs, encoderMs, "the encoder alone, paced", targetRatio);
    std::sort(firstSound.begin(), firstSound.end());
    std::printf("from .p to the first sound at a listener: median %.0f ms (runs:", firstSound[firstSound.size() / 2]);
    for (const double ms : firstSound)
        std::printf(" %.0f", ms);
    std::printf("), no target\n");
    return benchDone();
}
