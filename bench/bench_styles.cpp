// How long the style chooser takes to open over a large styles directory
// (one file for every ten entries of the size, half of them a second
// style of the same name) against reading the same files, and how long
// RemoveDuplicates takes over a list of the size against reading its texts
// into a hash set, each floor measured in the same run. Targets: each
// within 3 times its floor, since opening the chooser is mostly reading the
// files and ridding a list of duplicates is at heart a hash set of its
// texts; and at 100k entries (10,000 files, 5,000 styles) the chooser open
// in under a second and RemoveDuplicates done in under 100 ms.
// Usage: bench_styles [entries: 1k|100k|1M]
#include "app/mainwindow.h"
#include "figures.h"
#include "styles/removeduplicates.h"
#include "styles/stylechooser.h"
#include "support/world.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QSet>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

void writeStyleFiles(const QString &home, int files)
{
    const QString dir = home + "/styles/";
    QDir().mkpath(dir);
    for (int i = 0; i < files; ++i) {
        const QString name = QStringLiteral("style %1").arg(i % (files / 2), 5, 10, QChar('0'));
        QFile file(dir + QStringLiteral("file %1.ini").arg(i, 5, 10, QChar('0')));
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            std::exit(1);
        }
        file.write(("[styles]\nSTYLE=" + name + "\nASCII=~*~\nACOLOR=FF0000\nFCOLOR=0000FF\n").toUtf8());
    }
}

double openChooserMs(int files)
{
    TestWorld world;
    writeStyleFiles(world.home(), files);
    MainWindow &form = world.make();
    const double ms = ownMilliseconds([&] { form.styleChooser().show(); });
    if (form.styleChooser().styleList->count() != files / 2)
        std::fprintf(stderr, "expected %d entries, got %d\n", files / 2, form.styleChooser().styleList->count());
    return ms;
}

// Each file of the folder opened and read whole, with the system's own calls.
double readFilesMs(const QByteArray &folder)
{
    qsizetype bytes = 0;
    const double ms = ownMilliseconds([&] {
        DIR *dir = opendir(folder.constData());
        char buffer[4096];
        while (dirent *entry = dir ? readdir(dir) : nullptr) {
            const int fd = openat(dirfd(dir), entry->d_name, O_RDONLY);
            for (ssize_t got; fd >= 0 && (got = read(fd, buffer, sizeof buffer)) > 0;)
                bytes += got;
            if (fd >= 0)
                close(fd);
        }
        if (dir)
            closedir(dir);
    });
    return bytes > 0 ? ms : 0;
}

// Every text twice, the copies in the second half: half the list goes.
QStringList halfDuplicates(int entries)
{
    QStringList texts;
    for (int i = 0; i < entries; ++i)
        texts << QStringLiteral("style %1").arg(i % (entries / 2));
    return texts;
}

QStringList allDistinct(int entries)
{
    QStringList texts;
    for (int i = 0; i < entries; ++i)
        texts << QStringLiteral("style %1").arg(i);
    return texts;
}

double removeDuplicatesMs(const QStringList &texts)
{
    QListWidget list;
    list.setUniformItemSizes(true);
    list.addItems(texts);
    return ownMilliseconds([&] { RemoveDuplicates(&list); });
}

// Each text of the same list read and put in a hash set.
double hashSetMs(const QStringList &texts)
{
    QListWidget list;
    list.setUniformItemSizes(true);
    list.addItems(texts);
    QSet<QString> seen;
    const double ms = ownMilliseconds([&] {
        for (int i = 0; i < list.count(); ++i)
            seen.insert(list.item(i)->text());
    });
    return seen.isEmpty() ? 0 : ms;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const int entries = benchSize(argc, argv);
    const int files = std::max(2, entries / 10);
    std::printf("bench_styles: %d style files, %d entries to rid of duplicates; best of 3\n", files, entries);
    const auto best = [](const std::function<double()> &measure) {
        double fastest = 1e300;
        for (int run = 0; run < 3; ++run)
            fastest = std::min(fastest, measure());
        return fastest;
    };
    TestWorld floorWorld;
    writeStyleFiles(floorWorld.home(), files);
    const QByteArray written = QFile::encodeName(floorWorld.home() + "/styles");
    const bool setSize = entries == 100000;
    const double chooser = best([&] { return openChooserMs(files); });
    printAgainstFloor("style chooser opened", chooser, best([&] { return readFilesMs(written); }), "the files read", 3);
    if (setSize)
        printUnder("style chooser opened", chooser, 1000);
    const struct {
        const char *what;
        QStringList texts;
    } lists[] = {
        {"RemoveDuplicates, half copies", halfDuplicates(entries)},
        {"RemoveDuplicates, all distinct", allDistinct(entries)},
    };
    for (const auto &list : lists) {
        const double ms = best([&] { return removeDuplicatesMs(list.texts); });
        printAgainstFloor(list.what, ms, best([&] { return hashSetMs(list.texts); }), "a hash set of the texts", 3);
        if (setSize)
            printUnder(list.what, ms, 100);
    }
    return benchDone();
}
