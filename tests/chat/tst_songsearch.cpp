#include "app/mainwindow.h"
#include "chat/chatscan.h"
#include "chatworld.h"
#include "platform/filelistbox.h"
#include "platform/stringlistview.h"
#include "support/testregistry.h"
#include "windows/songpicker.h"

#include <QTimer>

namespace {

const QStringList Tracks{"Alpha One.mp3",
                         "alpha two.MP3",
                         "Beta.mp3",
                         QString::fromUtf8("Night \xF0\x9F\x8C\x99.mp3"), // beyond the BMP: a surrogate pair
                         "Salt & Pepper.mp3",
                         QString::fromUtf8("Sun \xC4\xB0.mp3"),
                         "Tom & Jerry.mp3",
                         QString::fromUtf8("\xC3\x84rger Live.mp3")};
const QString Prompt = "<b>type</b>: view, scroll, rnd, or cancel ";

QStringList pickerEntries(MainWindow &form)
{
    return form.songPicker().matchList->entries().toStringList();
}

// Says a line as soon as the room has received the given message, from
// the event loop: inside whatever wait is then running.
void sayWhenAnnounced(TestWorld &world, const QString &message, const QString &line)
{
    auto *said = new bool(false);
    QObject::connect(&world.client(), &ChatClient::lineReceived, &world.mainWindow(),
                     [&world, message, line, said](WindowHandle, const ChatClientLine &received) {
                         if (*said || received.text != TestWorld::styled(message))
                             return;
                         *said = true;
                         QTimer::singleShot(0, &world.mainWindow(), [&world, line] { world.say(line); });
                     });
    QObject::connect(&world.mainWindow(), &QObject::destroyed, [said] { delete said; });
}

} // namespace

class SongSearchTest : public QObject
{
    Q_OBJECT

private slots:
    // Every search empties both lists and waits before it answers, and each
    // of its messages comes a wait after the one before; the scan is on after.
    void searchesAnswer()
    {
        TestWorld world;
        MainWindow &form = startWithTracks(world, Tracks);
        QElapsedTimer clock;
        QList<qint64> heardAt;
        QObject::connect(&world.client(), &ChatClient::lineReceived, &form,
                         [&](WindowHandle, const ChatClientLine &line) {
                             if (!TestWorld::isSentinel(line.text))
                                 heardAt << clock.elapsed();
                         });
        const QString aerger = QString::fromUtf8("\xC3\x84rger Live");
        const struct {
            QString line;
            QStringList answer, nowPlaying; // the picker lists them too when there are several
        } cases[] = {
            {".p zzz", {"<b>error</b> no mp3 found "}, {}},
            {".p BET", {"<b>playing</b>: Beta"}, {"Beta.mp3"}},
            // Letters beyond ASCII are lower-cased too.
            {QString::fromUtf8(".p \xC3\xA4RGER"), {"<b>playing</b>: " + aerger}, {aerger + ".mp3"}},
            // Lower-cased, İ grows to two characters, in the word and in the name.
            {QString::fromUtf8(".p \xC4\xB0"), {"<b>playing</b>: " + Tracks[5].chopped(4)}, {Tracks[5]}},
            // Half a surrogate pair is found in a name that holds the pair.
            {".p " + QString(QChar(0xD83C)), {"<b>playing</b>: " + Tracks[3].chopped(4)}, {Tracks[3]}},
            // A word is found within one name, never across two side by side.
            {".p mp3beta", {"<b>error</b> no mp3 found "}, {}},
            {".p mp3", {"[<b>8</b>] strings found for <b>mp3</b>", Prompt}, Tracks},
            {".P ALPHA", {"[<b>2</b>] strings found for <b>ALPHA</b>", Prompt}, {"Alpha One.mp3", "alpha two.MP3"}},
            {".p ", {"[<b>8</b>] strings found for <b></b>", Prompt}, Tracks},
            {".p  & ", {"[<b>2</b>] strings found for <b> &amp; </b>", Prompt}, {"Salt & Pepper.mp3", "Tom & Jerry.mp3"}},
        };
        for (const auto &c : cases) {
            form.playerState().setNowPlaying(NameList(QStringList{"Beta.mp3"}), -1);
            form.songPicker().matchList->addItems({"left from before"});
            heardAt.clear();
            clock.start();
            QVERIFY2(answerTo(world, c.line) == c.answer, qPrintable(c.line));
            QCOMPARE(form.playerState().nowPlaying().items().toStringList(), c.nowPlaying);
            QCOMPARE(pickerEntries(form), c.answer.size() > 1 ? c.nowPlaying : QStringList());
            // The room hears the line itself first.
            QCOMPARE(heardAt.size(), c.answer.size() + 1);
            for (qsizetype i = 1; i < heardAt.size(); ++i)
                QVERIFY2(heardAt[i] - heardAt[i - 1] >= 300, qPrintable(c.line));
            QCOMPARE(world.player.playState() == MediaPlayer::Playing, c.answer.first().startsWith("<b>playing"));
            if (c.nowPlaying.size() == 1)
                QCOMPARE(world.player.fileName(), world.musicDir() + "/" + c.nowPlaying.first());
            QVERIFY(form.program().searchScan->scanning());
            QVERIFY(!form.songPicker().isVisible());
            world.player.stop();
        }
    }

    void followUpWords()
    {
        TestWorld world;
        MainWindow &form = startWithTracks(world, Tracks);
        QCOMPARE(answerTo(world, ".p  & ").size(), 2);

        // view: the picker in place of the main window; the scan stays on.
        QCOMPARE(answerTo(world, ".VIEW"), QStringList());
        QVERIFY(form.songPicker().isVisible());
        QVERIFY(!form.isVisible());

        // scroll: a header and every entry, numbered, as plain text, half a
        // second apart.
        QCOMPARE(answerTo(world, ".scroll"), QStringList({"<b>p</b> and song to play", "<b>1</b> Salt &amp; Pepper",
                                                         "<b>2</b> Tom &amp; Jerry"}));

        // rnd: one of them plays, the picker list empties, the main window is back.
        const QStringList played = answerTo(world, ".rnd");
        QVERIFY2(played == QStringList{"<b>playing</b>: Salt &amp; Pepper"} ||
                     played == QStringList{"<b>playing</b>: Tom &amp; Jerry"},
                 qPrintable(played.join('|')));
        QCOMPARE(world.player.playState(), MediaPlayer::Playing);
        QTRY_VERIFY(!form.program().searchScan->scanning());
        QCOMPARE(form.songPicker().matchList->count(), 0);
        QVERIFY(form.isVisible());
        QVERIFY(form.songPicker().isVisible());

        // cancel after a new search: the lists stay as they are.
        QCOMPARE(answerTo(world, ".p alpha").size(), 2);
        QCOMPARE(answerTo(world, ".cancel"), QStringList{"<b>canceled</b> .. "});
        QCOMPARE(pickerEntries(form).size(), 2);
        QCOMPARE(form.playerState().nowPlaying().listCount(), 2);
        // With the scan off the words are nobody's business.
        for (const char *word : {".rnd", ".scroll", ".cancel"})
            QVERIFY2(answerTo(world, word).isEmpty(), word);
    }

    void wordsSaidDuringTheWaits()
    {
        TestWorld world;
        MainWindow &form = startWithTracks(world, Tracks);
        const QString count = "[<b>2</b>] strings found for <b>alpha</b>";

        // Between the count and the prompt: the scan is already on.
        sayWhenAnnounced(world, count, ".cancel");
        QCOMPARE(answerTo(world, ".p alpha"), QStringList({count, "<b>canceled</b> .. ", Prompt}));
        QVERIFY(!form.program().searchScan->scanning());

        // A second search in the first one's first wait: each ends whole.
        duringNextWait([&world] { world.say(".p beta"); });
        QCOMPARE(answerTo(world, ".p alpha"), QStringList({"<b>playing</b>: Beta", count, Prompt}));
        QCOMPARE(form.playerState().nowPlaying().items().toStringList(), QStringList({"Alpha One.mp3", "alpha two.MP3"}));
        QCOMPARE(pickerEntries(form), QStringList({"Alpha One.mp3", "alpha two.MP3"}));

        // A search during a scroll empties the list being read out; the
        // scroll still ends with the names it began with.
        sayWhenAnnounced(world, "<b>1</b> Alpha One", ".p zzz");
        QCOMPARE(answerTo(world, ".scroll"), QStringList({"<b>p</b> and song to play", "<b>1</b> Alpha One",
                                                         "<b>error</b> no mp3 found ", "<b>2</b> alpha two"}));
        QCOMPARE(form.songPicker().matchList->count(), 0);
    }
};

DUN2_TEST(SongSearchTest);
#include "tst_songsearch.moc"
