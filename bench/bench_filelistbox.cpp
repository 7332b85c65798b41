// How long the track list takes to list a folder of 100,000 MP3 names,
// against the floor of reading the same folder's names alone.
// Target: refresh at most 3 times the floor.
#include "platform/filelistbox.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <functional>
#include <vector>

namespace {

constexpr int trackCount = 100000;
constexpr int runs = 7;

// Names of mixed case and length, so sorting has real work to do.
void fillFolder(const QString &dir)
{
    const char *words[] = {"Love", "night", "DREAM", "Blue", "fire", "Road", "heart", "Rain", "gold", "Summer"};
    for (int i = 0; i < trackCount; ++i) {
        const QString name = QString("%1 %2 - %3 %4.%5")
                                 .arg(words[(i * 7) % 10])
                                 .arg(words[(i / 10) % 10])
                                 .arg(words[(i * 3 + 1) % 10])
                                 .arg((i * 7919) % trackCount)
                                 .arg(i % 5 == 0 ? "MP3" : "mp3");
        QFile file(dir + "/" + name);
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "bench_filelistbox: cannot write %s\n", qPrintable(file.fileName()));
            std::exit(1);
        }
    }
}

// The names alone, as the directory gives them: nothing is stat'ed,
// matched or sorted.
QStringList namesAlone(const QString &path)
{
    QStringList names;
    DIR *dir = opendir(QFile::encodeName(path).constData());
    while (const dirent *entry = dir ? readdir(dir) : nullptr)
        names.append(QFile::decodeName(entry->d_name));
    if (dir)
        closedir(dir);
    return names;
}

double medianMillis(const std::function<qsizetype()> &work, qsizetype &count)
{
    std::vector<double> millis;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        count = work();
        millis.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(millis.begin(), millis.end());
    return millis[runs / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    fillFolder(dir.path());

    FileListBox list;
    list.setPattern("*.mp3");
    list.resize(280, 120);
    list.show();
    list.setPath(dir.path()); // once, so every run below finds the folder cached alike

    qsizetype names = 0, listed = 0, qdirListed = 0;
    const double floor = medianMillis([&] { return namesAlone(dir.path()).size(); }, names);
    const double refresh = medianMillis(
        [&] {
            list.refresh();
            QCoreApplication::processEvents(); // the list shown anew
            return qsizetype(list.listCount());
        },
        listed);
    const double qdir = medianMillis(
        [&] {
            return QDir(dir.path()).entryList({"*.mp3"}, QDir::Files, QDir::Name | QDir::IgnoreCase).size();
        },
        qdirListed);

    std::printf("listing %lld tracks, median of %d runs:\n", qlonglong(listed), runs);
    std::printf("  names alone (readdir):          %8.1f ms (%lld entries)\n", floor, qlonglong(names));
    std::printf("  File1 refresh (list and show):  %8.1f ms = %.2f x the floor (target <= 3)\n", refresh,
                refresh / floor);
    std::printf("  for comparison, QDir::entryList: %7.1f ms = %.2f x the floor\n", qdir, qdir / floor);
    return listed == trackCount && qdirListed == trackCount ? 0 : 1;
}
