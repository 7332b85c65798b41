// What a big folder costs the program at its start, from its start to its
// first announcement, on the wall clock (the program is another process),
// the floors measured in the same run. A first start, with the path chooser
// shown, in a big working directory against an empty one: target at most
// 1.5 times. A start whose stored MP3 path is the big folder against one
// whose path is an empty folder, and what the big folder adds against
// reading it and sorting its names in plain C++ (readdir, then std::sort
// with strcasecmp): target at most 1.5 times that. The names are accented,
// as the folders that cost most are. Then the system
// calls the program makes while idle as files come and go in /tmp and in
// its folder (target: none), counted by strace.
// Usage: bench_startup [file count: 1k|100k|1M] [program, else the dun2 built beside it]
#include "emptyfiles.h"
#include "figures.h"
#include "processfloors.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int runs = 3;
constexpr int idleMs = 2000;

struct Figures {
    double firstMs = 0;  // to the first announcement
    double cpuMs = 0;    // spent by the second one
    double peakMb = 0;   // resident, by the second one
};

void writePreferences(const QString &home, const QString &mp3Path)
{
    QFile prefs(home + "/prefs.ini");
    const QByteArray path = mp3Path.isEmpty() ? QByteArray() : "mp3 path=" + QFile::encodeName(mp3Path) + "\n";
    if (!prefs.open(QIODevice::WriteOnly | QIODevice::Truncate) || prefs.write("[info]\nhandle=bench\n" + path) < 0) {
        std::fprintf(stderr, "bench_startup: cannot write %s\n", qPrintable(prefs.fileName()));
        std::exit(1);
    }
}

// The program's peak resident memory so far.
double peakMb(qint64 pid)
{
    QFile status(QString("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return -1;
}

void startProgram(QProcess &program, const QString &path, const QString &home, const QString &workingDirectory)
{
    program.setWorkingDirectory(workingDirectory);
    program.start(path, {"--console", "--home", home, "--screen-name", "bench"});
}

// Waits until the program has written count lines; false when it ends first.
bool waitForLines(QProcess &program, QByteArray &out, int count)
{
    while (out.count('\n') < count) {
        if (!program.waitForReadyRead(30000))
            return false;
        out += program.readAllStandardOutput();
    }
    return true;
}

Figures startOnce(const QString &path, const QString &home, const QString &workingDirectory)
{
    QProcess program;
    QElapsedTimer clock;
    clock.start();
    startProgram(program, path, home, workingDirectory);
    QByteArray out;
    Figures figures;
    if (!waitForLines(program, out, 1)) {
        std::fprintf(stderr, "bench_startup: the program said nothing: %s\n",
                     program.readAllStandardError().constData());
        std::exit(1);
    }
    figures.firstMs = clock.nsecsElapsed() / 1e6;
    waitForLines(program, out, 2);
    figures.cpuMs = cpuMs(program.processId());
    figures.peakMb = peakMb(program.processId());
    program.kill();
    program.waitForFinished();
    return figures;
}

// The floor of reading the folder: its names read and sorted, on the wall
// clock as the program's start is.
double readAndSortMs(const QString &folder)
{
    QElapsedTimer clock;
    clock.start();
    const std::vector<std::string> names = sortedNames(folder);
    const double ms = clock.nsecsElapsed() / 1e6;
    if (names.empty()) {
        std::fprintf(stderr, "bench_startup: %s holds no names\n", qPrintable(folder));
        std::exit(1);
    }
    return ms;
}

Figures median(std::vector<Figures> all)
{
    const auto middle = [&](double Figures::*field) {
        std::sort(all.begin(), all.end(), [&](const Figures &a, const Figures &b) { return a.*field < b.*field; });
        return all[all.size() / 2].*field;
    };
    return {middle(&Figures::firstMs), middle(&Figures::cpuMs), middle(&Figures::peakMb)};
}

// The system calls the idle program makes while files come and go beside
// it, by name.
std::map<QByteArray, int> idleCalls(const QString &path, const QString &home, const QString &workingDirectory)
{
    QProcess program;
    startProgram(program, path, home, workingDirectory);
    QByteArray out;
    waitForLines(program, out, 2);
    QThread::msleep(1000); // whatever start-up left to do
    QTemporaryDir log;
    QProcess strace;
    strace.start("strace", {"-f", "-qq", "-o", log.filePath("calls"), "-p", QString::number(program.processId())});
    QThread::msleep(500); // attached
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; clock.elapsed() < idleMs; ++i) {
        for (const QString &folder : {QDir::tempPath(), workingDirectory}) {
            const QByteArray file = QFile::encodeName(folder + QString("/bench_startup idle %1").arg(i));
            close(creat(file.constData(), 0644));
            unlink(file.constData());
        }
        QThread::msleep(10);
    }
    strace.terminate();
    strace.waitForFinished();
    program.kill();
    program.waitForFinished();
    std::map<QByteArray, int> calls;
    QFile trace(log.filePath("calls"));
    if (!trace.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "bench_startup: no strace log (is strace installed?)\n");
        return {{"(not measured)", -1}};
    }
    // "PID name(args...) = result". Attaching interrupts the wait each
    // thread sleeps in, which comes back as restart_syscall, or as the wait
    // itself where it has no time limit (a futex): strace's doing, not the
    // program's. A thread whose one line is such a wait, still unfinished
    // when strace lets go, slept through.
    std::map<QByteArray, std::vector<QByteArray>> byThread;
    for (const QByteArray &line : trace.readAll().split('\n')) {
        const QByteArray trimmed = line.trimmed();
        const int space = trimmed.indexOf(' ');
        if (space > 0)
            byThread[trimmed.left(space)].push_back(trimmed.mid(space + 1).trimmed()); // strace pads short PIDs
    }
    for (const auto &[thread, lines] : byThread) {
        const QByteArray &only = lines.front();
        if (lines.size() == 1 && (only.endsWith("<unfinished ...>") || only.endsWith("<detached ...>")))
            continue;
        for (const QByteArray &call : lines) {
            if (call.isEmpty() || call.startsWith("<...") || call.startsWith("+++") || call.startsWith("---")
                || call.startsWith("restart_syscall("))
                continue;
            ++calls[call.left(call.indexOf('('))];
        }
    }
    return calls;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int files = benchSize(argc, argv);
    const QString program = argc > 2 ? QString(argv[2]) : QCoreApplication::applicationDirPath() + "/../dun2";
    QTemporaryDir home, empty, big;
    makeEmptyFiles(big.path(), files,
                   [](int i) { return QString::fromUtf8("\xC3\x89lise %1 \xC3\x9C" "ber \xC3\x98resund.mp3").arg(i); });

    std::printf("bench_startup: to the first announcement among %d files, median of %d runs"
                " (CPU and peak memory by the second):\n", files, runs);
    const auto report = [](const Figures &many, const Figures &floor) {
        std::printf("    CPU %6.0f ms, peak %6.1f MB; in the empty folder CPU %6.0f ms, peak %6.1f MB\n", many.cpuMs,
                    many.peakMb, floor.cpuMs, floor.peakMb);
    };
    {
        writePreferences(home.path(), QString());
        std::vector<Figures> floorRuns, bigRuns;
        for (int run = 0; run < runs; ++run) {
            floorRuns.push_back(startOnce(program, home.path(), empty.path()));
            bigRuns.push_back(startOnce(program, home.path(), big.path()));
        }
        const Figures floor = median(floorRuns), many = median(bigRuns);
        printAgainstFloor("path chooser shown (first start)", many.firstMs, floor.firstMs, "an empty folder", 1.5);
        report(many, floor);
    }
    {
        std::vector<Figures> floorRuns, bigRuns;
        std::vector<double> readRuns;
        for (int run = 0; run < runs; ++run) {
            writePreferences(home.path(), empty.path());
            floorRuns.push_back(startOnce(program, home.path(), empty.path()));
            writePreferences(home.path(), big.path());
            bigRuns.push_back(startOnce(program, home.path(), empty.path()));
            readRuns.push_back(readAndSortMs(big.path()));
        }
        std::sort(readRuns.begin(), readRuns.end());
        const Figures floor = median(floorRuns), many = median(bigRuns);
        printRatio("MP3 path the big folder", many.firstMs, floor.firstMs, "MP3 path an empty folder", "");
        report(many, floor);
        printAgainstFloor("what the big folder adds", many.firstMs - floor.firstMs, readRuns[readRuns.size() / 2],
                          "readdir and sort", 1.5);
    }

    for (const bool chooserShown : {false, true}) {
        writePreferences(home.path(), chooserShown ? QString() : empty.path());
        const std::map<QByteArray, int> calls = idleCalls(program, home.path(), empty.path());
        int total = 0;
        QByteArray names;
        for (const auto &[name, count] : calls) {
            total += count;
            names += " " + name + " " + QByteArray::number(count);
        }
        std::printf("idle %d ms, path chooser %s, files coming and going in %s and the working folder: "
                    "%d system calls (target 0) %s%s\n",
                    idleMs, chooserShown ? "shown" : "hidden", qPrintable(QDir::tempPath()), total,
                    counted(total == 0), names.constData());
    }
    return benchDone();
}
