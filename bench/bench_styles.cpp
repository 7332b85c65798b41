// How long the style chooser takes to open over a large styles directory,
// and how long RemoveDuplicates takes over a long list.
#include "app/mainwindow.h"
#include "styles/removeduplicates.h"
#include "styles/stylechooser.h"
#include "support/world.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int StyleFiles = 10000;
constexpr int DistinctStyles = 5000;
constexpr int ListEntries = 100000;
constexpr int Runs = 5;

void writeStyleFiles(const QString &home)
{
    const QString dir = home + "/styles/";
    QDir().mkpath(dir);
    for (int i = 0; i < StyleFiles; ++i) {
        const QString name = QStringLiteral("style %1").arg(i % DistinctStyles, 5, 10, QChar('0'));
        QFile file(dir + QStringLiteral("file %1.ini").arg(i, 5, 10, QChar('0')));
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            std::exit(1);
        }
        file.write(("[styles]\nSTYLE=" + name + "\nASCII=~*~\nACOLOR=FF0000\nFCOLOR=0000FF\n").toUtf8());
    }
}

double openChooserMs()
{
    TestWorld world;
    writeStyleFiles(world.home());
    Form1 &form = world.make();
    QElapsedTimer clock;
    clock.start();
    Form4 &chooser = form.form4();
    chooser.show();
    const double ms = clock.nsecsElapsed() / 1e6;
    if (chooser.List1->count() != DistinctStyles)
        std::fprintf(stderr, "expected %d entries, got %d\n", DistinctStyles, chooser.List1->count());
    return ms;
}

// Every text twice, the copies in the second half: half the list goes.
QStringList halfDuplicates()
{
    QStringList texts;
    for (int i = 0; i < ListEntries; ++i)
        texts << QStringLiteral("style %1").arg(i % (ListEntries / 2));
    return texts;
}

QStringList allDistinct()
{
    QStringList texts;
    for (int i = 0; i < ListEntries; ++i)
        texts << QStringLiteral("style %1").arg(i);
    return texts;
}

double removeDuplicatesMs(const QStringList &texts)
{
    QListWidget list;
    list.setUniformItemSizes(true);
    list.addItems(texts);
    QElapsedTimer clock;
    clock.start();
    RemoveDuplicates(&list);
    return clock.nsecsElapsed() / 1e6;
}

template<typename Measure>
double best(Measure measure)
{
    double fastest = 1e300;
    for (int run = 0; run < Runs; ++run)
        fastest = std::min(fastest, measure());
    return fastest;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::printf("style chooser, %d files, %d distinct styles: %.1f ms (target < 1000 ms), best of %d\n",
                StyleFiles, DistinctStyles, best(openChooserMs), Runs);
    const QStringList half = halfDuplicates();
    std::printf("RemoveDuplicates, %d entries, half of them copies: %.1f ms (target < 100 ms), best of %d\n",
                ListEntries, best([&] { return removeDuplicatesMs(half); }), Runs);
    const QStringList distinct = allDistinct();
    std::printf("RemoveDuplicates, %d entries, all distinct: %.1f ms, best of %d\n", ListEntries,
                best([&] { return removeDuplicatesMs(distinct); }), Runs);
    return 0;
}
