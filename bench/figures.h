// What every benchmark shares: the size it runs at, the window thread's own
// time, and one way of printing a figure against its target (most often a
// floor measured in the same run), which counts whether it was met.
#pragma once

#include <QByteArray>
#include <QList>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <utility>
#include <vector>

// The size given as the first argument: a count, or one with k or M
// (1k, 100k, 1M); `fallback` when none is given (make bench runs 100k).
inline int benchSize(int argc, char **argv, int fallback = 100000)
{
    if (argc < 2)
        return fallback;
    QByteArray text(argv[1]);
    int scale = 1;
    if (text.endsWith('k') || text.endsWith('K'))
        scale = 1000;
    else if (text.endsWith('M'))
        scale = 1000000;
    if (scale != 1)
        text.chop(1);
    return text.toInt() * scale;
}

// CPU time of the calling thread: the program's own work, whatever runs
// inside a call (handlers taken during its waits included), and nothing
// of the time it sleeps.
inline double threadCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

inline double ownMilliseconds(const std::function<void()> &call)
{
    const double start = threadCpuMilliseconds();
    call();
    return threadCpuMilliseconds() - start;
}

// Reads and writes more memory than the caches hold, so that what is timed
// next finds its data where a line typed in the room finds it: in memory,
// not in a cache a run before it warmed.
inline void evictCaches()
{
    static std::vector<char> sweep(std::size_t(64) << 20, 1);
    for (std::size_t at = 0; at < sweep.size(); at += 64)
        sweep[at] = char(sweep[at] + 1);
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median of `runs` calls' own time, each after `before`, untimed.
inline double medianOwnMilliseconds(const std::function<void()> &call, int runs = 5,
                                    const std::function<void()> &before = {})
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        if (before)
            before();
        times.push_back(ownMilliseconds(call));
    }
    return median(std::move(times));
}

// Every verdict on a target is counted here, so that the run can end with
// how many held and fail when one did not.
struct Tally {
    int ok = 0;
    int missed = 0;
};

inline Tally &tally()
{
    static Tally counts;
    return counts;
}

inline const char *counted(bool met)
{
    ++(met ? tally().ok : tally().missed);
    return met ? "ok" : "MISSED";
}

// make bench-scale compares a figure at two sizes: with DUN2_BENCH_FIGURES
// set, each figure is added to that file once, under its label, with its
// unit and its floor (0 when it has none), so that how much the floor grew
// can be shown beside it.
inline void recordFigure(const char *what, double value, const char *unit, double floor = 0)
{
    static QList<QByteArray> recorded;
    const QByteArray path = qgetenv("DUN2_BENCH_FIGURES");
    if (path.isEmpty() || recorded.contains(what))
        return;
    recorded.append(what);
    if (std::FILE *file = std::fopen(path.constData(), "a")) {
        std::fprintf(file, "%s\t%g\t%s\t%g\n", what, value, unit, floor);
        std::fclose(file);
    }
}

// "what  12.3 ms  floor 4.1 ms (what the floor is)  3.0x  note"
inline void printRatio(const char *what, double value, double floor, const char *floorIs, const char *note,
                       const char *unit = "ms")
{
    const double ratio = floor > 0 ? value / floor : 0;
    std::printf("%-34s %10.2f %s   floor %10.2f %s (%s)   %5.2fx   %s\n", what, value, unit, floor, unit, floorIs,
                ratio, note);
    std::fflush(stdout);
}

// The same, with the target and whether it is met.
inline bool printAgainstFloor(const char *what, double value, double floor, const char *floorIs,
                              double targetRatio, const char *unit = "ms")
{
    const bool met = floor > 0 && value <= targetRatio * floor;
    char note[64];
    std::snprintf(note, sizeof note, "target <= %.1fx %s", targetRatio, counted(met));
    printRatio(what, value, floor, floorIs, note, unit);
    recordFigure(what, value, unit, floor);
    return met;
}

// A figure against a fixed limit: "what  12.3 ms  target under 30 ms  ok".
inline bool printUnder(const char *what, double value, double limit, const char *unit = "ms")
{
    const bool met = value < limit;
    std::printf("%-34s %10.2f %s   target under %g %s   %s\n", what, value, unit, limit, unit, counted(met));
    std::fflush(stdout);
    recordFigure(what, value, unit);
    return met;
}

// The last line of every benchmark, "N ok, M missed", and its exit status:
// not 0 when a target was missed or the run was not `sound` (a case did
// not do what it should, so its figures mean nothing).
inline int benchDone(bool sound = true)
{
    std::printf("%d ok, %d missed\n", tally().ok, tally().missed);
    std::fflush(stdout);
    return tally().missed == 0 && sound ? 0 : 1;
}
