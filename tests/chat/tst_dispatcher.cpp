#include "app/mainwindow.h"
#include "chat/chatscan.h"
#include "chatworld.h"
#include "platform/filelistbox.h"
#include "platform/inifile.h"
#include "support/testregistry.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <tuple>

namespace {

// Every command word once, as the user would type it, the follow-up words
// of a search among them.
const QStringList EveryCommand{
    ".about", ".adv",   ".coms",     ".xcoms",       ".create",    ".arand",   ".xrand", ".cont",
    ".xcont", ".exit",  ".refresh",  ".pause",       ".stop",      ".new path", ".vol 50", ".vol 150",
    ".mp3s?", ".styles", ".mute",    ".r",           ".next",      ".prev",    ".br",    ".bl",
    ".bc",    ".min",   ".max",      ".roll up",     ".roll down", ".handle?", ".handle Joe", ".handle ",
    ".xwelc", ".shwelc", ".hide",    ".show",        ".p ",        ".p one",   ".view",  ".scroll",
    ".rnd",   ".cancel"};

} // namespace

class DispatcherTest : public QObject
{
    Q_OBJECT

private slots:
    void nobodyElseCommands()
    {
        TestWorld world("tester");
        MainWindow &form = startWithTracks(world, {"one.mp3", "two.mp3"});
        QSignalSpy seen(form.program().commandScan, &ChatScan::ChatLine);
        const QStringList others{"bob", "Tester", "TESTER", "tester ", " tester", "tester\t", ""};
        for (const QString &name : others)
            for (const QString &command : EveryCommand)
                world.sayAs(name, command);
        QVERIFY(world.waitUntilHandled());
        const auto fromOthers = std::count_if(seen.begin(), seen.end(),
                                              [](const QList<QVariant> &line) { return line[0].toString() != "tester"; });
        QCOMPARE(fromOthers, others.size() * EveryCommand.size());

        QCOMPARE(announcements(world), QStringList());
        QVERIFY(!world.programEnded());
        QVERIFY(!control<QCheckBox>(form, "randomBox")->isChecked() && !control<QCheckBox>(form, "continuousBox")->isChecked() && !world.player.muted());
        QCOMPARE(std::tuple(world.player.volume(), control<QScrollBar>(form, "balanceBar")->value(), control<FileListBox>(form, "trackList")->listIndex()),
                 std::tuple(0L, 0, -1));
        QVERIFY(world.desktop.isVisible(world.client().welcomeWindow()));
        QVERIFY(world.player.playState() != MediaPlayer::Playing && form.isVisible());

        // The same words from the user do answer; the handle is as it was.
        QCOMPARE(answerTo(world, ".handle?"), QStringList{"<b>handle: </b>Ann"});
    }

    // Whole words in any case; the lines that are no commands are the bad
    // input's test.
    void wordsInAnyCaseAndTheHandle()
    {
        TestWorld world("tester");
        startWithTracks(world, {});
        QCOMPARE(answerTo(world, ".XWELC"), QStringList{"<b>welcome </b>screen hidden"});
        QCOMPARE(answerTo(world, ".MP3S!"), QStringList{"<b>mp3 count </b>0"});
        // One blank after "handle" matches both words: the query answers first.
        QCOMPARE(answerTo(world, ".handle "), QStringList({"<b>handle: </b>Ann", "<b>new handle: </b> "}));
        QCOMPARE(answerTo(world, ".HANDLE Joe"), QStringList{"<b>new handle: </b> Joe"});
        QCOMPARE(ReadIni("info", "handle", world.preferencesPath()), QString(" Joe"));
        QCOMPARE(answerTo(world, ".handle?"), QStringList{"<b>handle: </b> Joe"});
        // Only a line's beginning tells the words apart, in whatever script,
        // yet an argument is all of the rest.
        QCOMPARE(answerTo(world, u".MP3S\U0001F600"_qs), QStringList{"<b>mp3 count </b>0"});
        QCOMPARE(answerTo(world, ".mp3s?" + QString(3000, u'x')), QStringList());
        const QString longHandle = u" \U0001F600é"_qs.repeated(1000);
        QCOMPARE(answerTo(world, ".HANDLE" + longHandle), QStringList{"<b>new handle: </b>" + longHandle});
    }

    // An argument is what follows its word, however long the prefix; the
    // search is ".p" whatever the prefix, its follow-up words are not.
    void aLongerPrefix()
    {
        TestWorld world("tester");
        MainWindow &form = startWithTracks(world, {"one.mp3", "two.mp3"});
        form.program().settings.trigger = "..";
        const struct {
            const char *line;
            QStringList answer;
        } steps[] = {
            {"..vol 50", {"<b>volume</b> set 50%"}},
            {"..HANDLE Joe", {"<b>new handle: </b> Joe"}},
            {"..handle?", {"<b>handle: </b> Joe"}},
            {".p ONE", {"<b>playing</b>: one"}},
            {".p o", {"[<b>2</b>] strings found for <b>o</b>", "<b>type</b>: view, scroll, rnd, or cancel "}},
            {"..cancel", {"<b>canceled</b> .. "}},
        };
        for (const auto &step : steps)
            QVERIFY2(answerTo(world, step.line) == step.answer, step.line);
        QCOMPARE(std::tuple(world.player.volume(), control<QLabel>(form, "volumeLabel")->text()), std::tuple(-1250L, QString(" 50%")));
        QCOMPARE(ReadIni("info", "handle", world.preferencesPath()), QString(" Joe"));
    }
};

DUN2_TEST(DispatcherTest);
#include "tst_dispatcher.moc"
