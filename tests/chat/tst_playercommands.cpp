#include "app/mainwindow.h"
#include "chatworld.h"
#include "platform/clicklabel.h"
#include "platform/filelistbox.h"
#include "platform/stringlistview.h"
#include "player/playerstate.h"
#include "support/testregistry.h"
#include "windows/songpicker.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <filesystem>

namespace {

// The first argument of every signal a spy caught.
template <typename T>
QList<T> heard(const QSignalSpy &spy)
{
    QList<T> values;
    for (const QList<QVariant> &arguments : spy)
        values << arguments.first().value<T>();
    return values;
}

} // namespace

class PlayerCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void volume()
    {
        TestWorld world;
        MainWindow &form = startWithTracks(world, {});
        const struct {
            const char *line;
            int bar;
            long volume;
        } steps[] = {
            {".vol 50", 50, -1250}, {".vol 100", 100, 0}, {".vol 1", 1, -2475},
            {".vol 50.5", 50, -1238}, // halves to the even neighbour
            {".vol 99.99", 100, 0}, {".VOL   7  ", 7, -2325}, {".vol 1e1", 10, -2250}, {".vol +20", 20, -2000},
        };
        for (const auto &step : steps) {
            const QString arg = QString(step.line).mid(4);
            QVERIFY2(answerTo(world, step.line) == QStringList{"<b>volume</b> set" + arg + "%"}, step.line);
            QCOMPARE(control<QScrollBar>(form, "volumeBar")->value(), step.bar);
            QCOMPARE(world.player.volume(), step.volume);
            QCOMPARE(control<QLabel>(form, "volumeLabel")->text(), arg + "%");
        }
        // Refused: the bar, the player and the label keep the last volume.
        for (const char *line : {".vol 0", ".vol 101", ".vol 100.01", ".vol 0.5", ".vol -50", ".vol abc", ".vol ",
                                 ".vol nan", ".vol inf", ".vol 1e999", ".vol 50abc", ".vol 5 0", ".vol 0x32",
                                 ".vol 50%", ".vol 5,5", ".vol \u0665\u0660"}) { // Arabic-Indic digits
            QVERIFY2(answerTo(world, line) == QStringList{"<b>volume</b> can be set 1 - 100"}, line);
            QCOMPARE(control<QScrollBar>(form, "volumeBar")->value(), 20);
            QCOMPARE(world.player.volume(), -2000L);
            QCOMPARE(control<QLabel>(form, "volumeLabel")->text(), " +20%");
        }
    }

    // A draw empties the picker's list and names what it plays, also when
    // it draws the entry already selected; which entry is RandomNumber's test.
    void randomTrack()
    {
        const QStringList files{"Song.MP3"};
        TestWorld world;
        MainWindow &form = startWithTracks(world, files);
        for (int i = 0; i < 2; ++i) {
            form.songPicker().matchList->addItems({"left from a search"});
            const QStringList played = answerTo(world, ".r");
            const QString chosen = control<FileListBox>(form, "trackList")->fileName();
            QVERIFY(files.contains(chosen));
            QCOMPARE(played, QStringList{"<b>playing</b>: " + chosen.chopped(4)});
            QCOMPARE(world.player.playState(), MediaPlayer::Playing);
            QCOMPARE(form.songPicker().matchList->count(), 0);
        }
    }

    // Each word reaches its button's action (the buttons' own test goes
    // through the ends of the list); a mode already on or off is said so,
    // and the boxes change before or after the answer; a face that listens to the owner of
    // the player's actions hears every change, whether a click or a line made it.
    void playbackAsTheButtonsHeardByEveryFace()
    {
        TestWorld world;
        MainWindow &form = startWithTracks(world, {"one.mp3", "three.mp3", "two.mp3"});
        PlayerState *state = &form.playerState();
        QSignalSpy states(state, &PlayerState::playStateChanged), tracks(state, &PlayerState::trackChanged),
            volumes(state, &PlayerState::volumeChanged), balances(state, &PlayerState::balanceChanged),
            mutes(state, &PlayerState::muteChanged), randoms(state, &PlayerState::randomChanged),
            continuous(state, &PlayerState::continuousChanged);
        QTest::keyClick(control<QScrollBar>(form, "volumeBar"), Qt::Key_Home);
        QTest::keyClick(control<QScrollBar>(form, "balanceBar"), Qt::Key_Home);
        // The random and continuous boxes as they were when each line reached the room.
        QList<std::pair<QString, QString>> boxesAt;
        QObject::connect(&world.client(), &ChatClient::lineReceived, &form, [&](WindowHandle, const ChatClientLine &l) {
            boxesAt.append({l.text, QString(control<QCheckBox>(form, "randomBox")->isChecked() ? "R" : "-") + (control<QCheckBox>(form, "continuousBox")->isChecked() ? "C" : "-")});
        });
        const QString randomOn = "<b>a</b>uto <b>rand</b>om", continuousOn = "<b>cont</b>inous mode";
        const struct {
            const char *line; // said, or the name of what is clicked
            QStringList answer;
            const char *boxes = ""; // at the answer, where it matters
            QWidget *clicked = nullptr;
        } steps[] = {
            {".xrand", {randomOn + " mode is already off"}, "--"},
            {".xcont", {continuousOn + " is already off"}, "--"},
            {".arand", {randomOn + " on"}, "--"},
            {".ARAND", {randomOn + " is already on"}, "R-"},
            {".cont", {randomOn + " mode is on"}, "R-"},
            {".xrand", {randomOn + " mode turned off"}, "--"},
            {".cont", {continuousOn + " turned on"}, "--"},
            {".cont", {continuousOn + " is already on"}, "-C"},
            {".arand", {continuousOn + " is on"}, "-C"},
            {".xcont", {continuousOn + " turned off"}, "--"},
            {".cont", {continuousOn + " turned on"}},
            {"random box", {}, "", control<QCheckBox>(form, "randomBox")}, // turns continuous off, and that does not undo it
            {"mute", {"<b>mp3</b> player mute"}, "", control<ClickLabel>(form, "muteLabel")}, {".mute", {"<b>mp3</b> player unmute"}},
            {".vol 50", {"<b>volume</b> set 50%"}}, {".br", {"<b>balance</b>: right"}},
            {".bc", {"<b>balance</b>: center"}}, {".refresh", {"directory refreshed "}},
            {".next", {"<b>playing</b>: one"}}, {".pause", {"<b>paused</b>: one"}},
            {"play", {"<b>playing</b>: one"}, "", control<ClickLabel>(form, "playLabel")}, {".next", {"<b>playing</b>: three"}},
            {".stop", {"<b>stopped</b>: three"}}, {".prev", {"<b>playing</b>: one"}},
        };
        for (const auto &step : steps) {
            world.clearLines();
            boxesAt.clear();
            if (step.clicked)
                QTest::mouseClick(step.clicked, Qt::LeftButton);
            QVERIFY2((step.clicked ? announcements(world) : answerTo(world, step.line)) == step.answer, step.line);
            if (*step.boxes)
                QVERIFY2(boxesAt.contains({TestWorld::styled(step.answer.first()), step.boxes}), step.line);
        }
        QVERIFY(control<QCheckBox>(form, "randomBox")->isChecked() && !control<QCheckBox>(form, "continuousBox")->isChecked());
        QCOMPARE(control<QLabel>(form, "balanceLabel")->text(), QString("Center"));
        QCOMPARE(control<ClickLabel>(form, "muteLabel")->text(), QString("Mute"));
        QCOMPARE(control<FileListBox>(form, "trackList")->listIndex(), 0);
        QCOMPARE(world.player.playState(), MediaPlayer::Playing);

        using State = MediaPlayer::State;
        QCOMPARE(heard<State>(states),
                 QList<State>({State::Playing, State::Paused, State::Playing, State::Stopped, State::Playing}));
        QCOMPARE(heard<QString>(tracks), QStringList({"one.mp3", "three.mp3", "one.mp3"}));
        QCOMPARE(heard<int>(volumes), QList<int>({1, 50}));
        QCOMPARE(heard<int>(balances), QList<int>({-5000, 5000, 0}));
        QCOMPARE(heard<bool>(mutes), QList<bool>({true, false}));
        QCOMPARE(heard<bool>(randoms), QList<bool>({true, false, true}));
        QCOMPARE(heard<bool>(continuous), QList<bool>({true, false, true, false}));
    }

    // Copied from an old Windows machine: the name's bytes are Latin-1.
    void aNameNotInUtf8PlaysEveryWay()
    {
        TestWorld world;
        QVERIFY(std::filesystem::copy_file(QFile::encodeName(sampleMp3()).toStdString(),
                                           QFile::encodeName(world.musicDir()).toStdString() + "/Caf\xE9.mp3"));
        MainWindow &form = startWithTracks(world, {"Alpha.mp3"});
        const QString cafe = QString::fromUtf8("Caf\xC3\xA9");
        QCOMPARE(control<FileListBox>(form, "trackList")->entries().toStringList(), QStringList({"Alpha.mp3", cafe + ".mp3"}));
        control<FileListBox>(form, "trackList")->setListIndex(0);
        QCOMPARE(answerTo(world, ".next"), QStringList{"<b>playing</b>: " + cafe});
        world.clearLines();
        QTest::mouseClick(control<ClickLabel>(form, "playLabel"), Qt::LeftButton);
        world.say(".p caf");
        QVERIFY(world.waitUntilHandled());
        QCOMPARE(announcements(world), QStringList(2, "<b>playing</b>: " + cafe));
    }
};

DUN2_TEST(PlayerCommandsTest);
#include "tst_playercommands.moc"
