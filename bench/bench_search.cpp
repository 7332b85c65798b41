// A ".p " search through the command handler in a track list of 100k names
// (or the size given: 1k, 100k, 1M), for names in ASCII, with accents and
// in CJK, with no match, one, exactly 100 and every name (a word every name
// holds, not the empty one): the handler's own time against the floor of
// the same search in plain C++, one std::string_view::find pass over the
// names already lower-cased in UTF-8 in one buffer, hits mapped to their
// names, and of the command's waits (and, for the one match, of a bare
// playbin starting it). Each timed call starts from caches another run did
// not warm.
// Targets, at every size: finding none and finding every name at most 1.5x
// the floor, and the search after one that found every name, or every name
// but one, at most 1.5x the floor of finding none (it pays nothing for the
// list let go); one and 100 matches at most 2x.
#include "app/mainwindow.h"
#include "bareplaybin.h"
#include "chat/dispatcher.h"
#include "emptyfiles.h"
#include "figures.h"
#include "platform/filelistbox.h"
#include "platform/listbox.h"
#include "player/playeractions.h"
#include "player/waitseconds.h"
#include "support/audiofiles.h"
#include "support/world.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <string>
#include <string_view>
#include <vector>

namespace {

// A kind of name: the i-th of n names (exactly 100 of them marked), the
// one song, and the words that find nothing, the one song, the marked and
// every name but the one song.
struct NameSet {
    const char *what;
    QString (*name)(int i, bool marked);
    QString oneSong, noWord, oneWord, markedWord, allButOneWord;
};

const NameSet nameSets[] = {
    {"ASCII",
     [](int i, bool marked) {
         return QString("Track %1 of the Bench%2.%3").arg(i, 7, 10, QChar('0')).arg(marked ? " Marked" : "", i % 5 ? "mp3" : "MP3");
     },
     "The One Song.mp3", "no such song", "the one", "marked", "track"},
    {"accented",
     [](int i, bool marked) {
         return QString::fromUtf8("\xC3\x89lise %1 \xC3\x9C" "ber \xC3\x98resund%2.mp3").arg(i, 7, 10, QChar('0')).arg(marked ? QString::fromUtf8(" \xC3\x84rger") : "");
     },
     QString::fromUtf8("\xC3\x87" "a Unique.mp3"), QString::fromUtf8("\xC3\xB1" "o\xC3\xB1o"), QString::fromUtf8("\xC3\xA7" "a unique"),
     QString::fromUtf8("\xC3\xA4rger"), QString::fromUtf8("\xC3\xA9lise")},
    {"CJK",
     [](int i, bool marked) {
         return QString::fromUtf8("\xE6\x9D\xB1\xE4\xBA\xAC\xE3\x81\xAE\xE5\xA4\x9C %1 \xE9\x9B\xA8\xE3\x81\xAE\xE6\xAD\x8C%2.%3")
             .arg(i, 7, 10, QChar('0'))
             .arg(marked ? QString::fromUtf8("\xE6\xA1\x9C") : "", i % 2 ? "mp3" : "MP3");
     },
     QString::fromUtf8("\xE5\x94\xAF\xE4\xB8\x80\xE3\x81\xAE\xE6\xAD\x8C.mp3"), QString::fromUtf8("\xE5\xAD\x98\xE5\x9C\xA8"),
     QString::fromUtf8("\xE5\x94\xAF\xE4\xB8\x80"), QString::fromUtf8("\xE6\xA1\x9C"),
     QString::fromUtf8("\xE6\x9D\xB1\xE4\xBA\xAC")},
};

// The floor's names: lower-cased as the search lowers them, in UTF-8, one
// after the other in one buffer, with where each ends.
struct LoweredText {
    std::string text;
    std::vector<std::size_t> ends;
};

LoweredText lowered(const QStringList &names)
{
    LoweredText lowered;
    for (const QString &name : names) {
        lowered.text += name.toLower().toStdString();
        lowered.ends.push_back(lowered.text.size());
    }
    return lowered;
}

// The floor: each place the word is found, mapped to the name it lies in
// (the names after the last one found are passed over in order), that name
// gathered, and the search going on from its end; a place that runs over
// into the next name is none.
qsizetype countHolding(const LoweredText &names, const std::string &word)
{
    const std::string_view text(names.text);
    std::vector<std::size_t> found;
    std::size_t entry = 0;
    for (std::size_t at = text.find(word); at != std::string_view::npos;) {
        while (names.ends[entry] <= at)
            ++entry;
        if (at + word.size() <= names.ends[entry]) {
            found.push_back(entry);
            at = text.find(word, names.ends[entry]);
        } else {
            at = text.find(word, at + 1);
        }
    }
    return qsizetype(found.size());
}

// The floor's share of playing the one match: a bare playbin, made once as
// the player is, starting the same file as the player does, ready to play
// before it is told to; the window thread's own time.
double barePlaybinStart(const QString &path)
{
    BarePlaybin bare(path, gst_element_factory_make("fakesink", nullptr));
    GstElement *playbin = bare.element();
    return medianOwnMilliseconds(
        [playbin] {
            gst_element_set_state(playbin, GST_STATE_PAUSED);
            gst_element_get_state(playbin, nullptr, nullptr, GST_CLOCK_TIME_NONE);
            gst_element_set_state(playbin, GST_STATE_PLAYING);
        },
        5, [&bare] { bare.ready(); });
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = benchSize(argc, argv);
    const int step = std::max(1, count / 100);

    TestWorld world("tester");
    for (const NameSet &set : nameSets) {
        const QString folder = world.home() + "/" + set.what;
        QDir().mkpath(folder);
        makeEmptyFiles(folder, count, [&set, step](int i) { return set.name(i, i % step == 0 && i / step < 100); });
        // The one match is a real MP3: that case includes the player's loading.
        makeMp3(folder + "/" + set.oneSong, 1.0);
    }
    world.writePreferences(world.musicDir(), "Ann");
    MainWindow &form = world.start();
    world.waitUntilHandled();

    // The command waits 0.3 s before it searches, and once more before it
    // offers the picker, as it always has: the floor holds what those waits
    // cost the thread, measured alike.
    const double oneWait = medianOwnMilliseconds([] { WaitSeconds(0.3); }, 5, evictCaches);
    std::printf("one 0.3 s wait: %.2f ms of the thread's own time\n", oneWait);

    bool exact = true;
    for (const NameSet &set : nameSets) {
        control<FileListBox>(form, "trackList")->setPath(world.home() + "/" + set.what);
        std::printf("%s names: %d\n", set.what, control<FileListBox>(form, "trackList")->listCount());
        const QString oneSong = world.home() + "/" + set.what + "/" + set.oneSong;
        const LoweredText names = lowered(control<FileListBox>(form, "trackList")->entries().toStringList());
        // Every name ends in ".mp3" or ".MP3", the one song too.
        const QString everyWord = "mp3";
        const struct {
            const char *what;
            QString word;
            qsizetype matches;
            int waits;
            double target;
            QString before; // searched for, untimed, before each timed run
            qsizetype beforeMatches;
        } cases[] = {
            {"no match", set.noWord, 0, 1, 1.5, {}, 0},
            {"one match (played)", set.oneWord, 1, 1, 2.0, {}, 0},
            {"exactly 100 matches", set.markedWord, std::min(count, 100), 2, 2.0, {}, 0},
            {"every name", everyWord, count + 1, 2, 1.5, {}, 0},
            {"no match, after every name", set.noWord, 0, 1, 1.5, everyWord, count + 1},
            {"no match, after all but one", set.noWord, 0, 1, 1.5, set.allButOneWord, count},
        };
        for (const auto &c : cases) {
            // The floor and the command take turns, so that whatever else
            // the machine is doing meanwhile weighs on both alike: five of
            // each, the median of each.
            const std::string word = c.word.toLower().toStdString();
            qsizetype found = 0;
            std::vector<double> floors, own;
            for (int run = 0; run < 5; ++run) {
                evictCaches();
                floors.push_back(ownMilliseconds([&] { found = countHolding(names, word); }));
                if (!c.before.isNull()) {
                    handleCommandLine(form.commandContext(), "tester", ".p " + c.before);
                    exact = exact && form.playerState().nowPlaying().listCount() == c.beforeMatches;
                }
                world.clearLines();
                evictCaches();
                own.push_back(
                    ownMilliseconds([&] { handleCommandLine(form.commandContext(), "tester", ".p " + c.word); }));
                exact = exact && form.playerState().nowPlaying().listCount() == c.matches && found == c.matches;
                // A track it started plays on and ends: its handling is
                // not the next search's.
                form.program().playerActions->stop();
                QTest::qWait(100);
            }
            std::sort(floors.begin(), floors.end());
            const double floor = floors[floors.size() / 2];
            std::sort(own.begin(), own.end());
            const double median = own[own.size() / 2];
            const QByteArray label = QByteArray(set.what) + ", " + c.what;
            const double waited = floor + c.waits * oneWait;
            const double against = c.matches == 1 ? waited + barePlaybinStart(oneSong) : waited;
            const char *floorIs = c.matches == 1 ? "find, a wait, a bare playbin"
                                  : c.waits == 1 ? "find over lowered UTF-8, a wait"
                                                 : "find over lowered UTF-8, two waits";
            printAgainstFloor(label.constData(), median, against, floorIs, c.target);
        }
    }
    if (!exact)
        std::printf("a case did not find the number of names it should: its figures mean nothing\n");
    return benchDone(exact);
}
