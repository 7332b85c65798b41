#include "app/mainwindow.h"
#include "chatworld.h"
#include "platform/clicklabel.h"
#include "platform/filelistbox.h"
#include "support/testregistry.h"
#include "windows/songpicker.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <filesystem>

class PlayerCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void playModes()
    {
        TestWorld world;
        Form1 &form = startWithTracks(world, {});
        // With no tracks a draw says nothing and lists nothing.
        world.say(".r");
        world.settle(400);
        QCOMPARE(announcements(world), QStringList());
        QCOMPARE(form.List1.listCount(), 0);
        // The boxes as they were when the reply went out.
        std::pair<bool, bool> atReply;
        QObject::connect(&world.client(), &ChatClient::lineReceived, &form, [&] {
            atReply = {form.Check1->isChecked(), form.Check2->isChecked()};
        });
        const struct {
            const char *line;
            const char *answer;
            std::pair<bool, bool> atReply, after; // random, continuous
        } steps[] = {
            {".xrand", "<b>a</b>uto <b>rand</b>om mode is already off", {false, false}, {false, false}},
            {".arand", "<b>a</b>uto <b>rand</b>om on", {false, false}, {true, false}},
            {".ARAND", "<b>a</b>uto <b>rand</b>om is already on", {true, false}, {true, false}},
            {".cont", "<b>a</b>uto <b>rand</b>om mode is on", {true, false}, {true, false}},
            {".xrand", "<b>a</b>uto <b>rand</b>om mode turned off", {false, false}, {false, false}},
            {".xcont", "<b>cont</b>inous mode is already off", {false, false}, {false, false}},
            {".cont", "<b>cont</b>inous mode turned on", {false, false}, {false, true}},
            {".cont", "<b>cont</b>inous mode is already on", {false, true}, {false, true}},
            {".arand", "<b>cont</b>inous mode is on", {false, true}, {false, true}},
            {".xcont", "<b>cont</b>inous mode turned off", {false, false}, {false, false}},
        };
        for (const auto &step : steps) {
            QVERIFY2(said(world, step.line, 1) == QStringList{step.answer}, step.line);
            QCOMPARE(atReply, step.atReply);
            QCOMPARE(std::pair(form.Check1->isChecked(), form.Check2->isChecked()), step.after);
        }
    }

    void volume()
    {
        TestWorld world;
        Form1 &form = startWithTracks(world, {});
        const struct {
            const char *line;
            int bar;
            long volume;
        } steps[] = {
            {".vol 50", 50, -1250},
            {".vol 100", 100, 0},
            {".vol 1", 1, -2475},
            {".vol 50.5", 50, -1238}, // halves to the even neighbour
            {".vol 99.99", 100, 0},
            {".VOL   7  ", 7, -2325},
            {".vol 1e1", 10, -2250},
            {".vol +20", 20, -2000},
        };
        for (const auto &step : steps) {
            const QString arg = QString(step.line).mid(4);
            QVERIFY2(answerTo(world, step.line) == QStringList{"<b>volume</b> set" + arg + "%"}, step.line);
            QCOMPARE(form.HScroll1->value(), step.bar);
            QCOMPARE(world.player.Volume(), step.volume);
            QCOMPARE(form.volume1->text(), arg + "%");
        }
        // Refused: the bar, the player and the label keep the last volume.
        for (const char *line : {".vol 0", ".vol 101", ".vol 100.01", ".vol 0.5", ".vol -50", ".vol abc", ".vol ",
                                 ".vol nan", ".vol inf", ".vol 1e999", ".vol 50abc", ".vol 5 0", ".vol 0x32",
                                 ".vol 50%", ".vol 5,5", ".vol \u0665\u0660"}) { // Arabic-Indic digits
            QVERIFY2(answerTo(world, line) == QStringList{"<b>volume</b> can be set 1 - 100"}, line);
            QCOMPARE(form.HScroll1->value(), 20);
            QCOMPARE(world.player.Volume(), -2000L);
            QCOMPARE(form.volume1->text(), " +20%");
        }
    }

    void countMuteAndBalance()
    {
        TestWorld world;
        QStringList names;
        for (int i = 1; i <= 12; ++i)
            names << QString("track %1.mp3").arg(i);
        Form1 &form = startWithTracks(world, names);
        QCOMPARE(answerTo(world, ".mp3s?"), QStringList{"<b>mp3 count </b>12"});

        QCOMPARE(answerTo(world, ".mute"), QStringList{"<b>mp3</b> player mute"});
        QVERIFY(world.player.Mute());
        QCOMPARE(answerTo(world, ".mute"), QStringList{"<b>mp3</b> player unmute"});
        QVERIFY(!world.player.Mute());

        const struct {
            const char *line, *answer;
            int value;
        } balances[] = {
            {".br", "<b>balance</b>: right", 5000},
            {".bl", "<b>balance</b>: left", -5000},
            {".bc", "<b>balance</b>: center", 0},
        };
        for (const auto &b : balances) {
            QCOMPARE(answerTo(world, b.line), QStringList{b.answer});
            QCOMPARE(form.HScroll3->value(), b.value);
            QCOMPARE(world.player.Balance(), long(b.value));
        }
    }

    void randomTrack()
    {
        TestWorld world;
        Form1 &form = startWithTracks(world, {"one.mp3", "two.mp3", "three.mp3"});
        form.form3().List1->addItem("left from a search");
        const QStringList played = said(world, ".r", 1);
        const QString chosen = form.File1->fileName();
        QVERIFY(!chosen.isEmpty());
        QCOMPARE(played, QStringList{"<b>playing</b>: " + chosen.chopped(4)});
        QCOMPARE(form.List1.items(), QStringList{chosen});
        QCOMPARE(form.List1.text(), chosen);
        QCOMPARE(world.player.PlayState(), 2);
        QCOMPARE(form.form3().List1->count(), 0);
    }

    void randomTrackOfOne()
    {
        TestWorld world;
        Form1 &form = startWithTracks(world, {"Song.MP3"});
        // The second draw is the entry already selected: it is still named.
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(said(world, ".r", 1), QStringList{"<b>playing</b>: Song"});
            QCOMPARE(form.List1.items(), QStringList{"Song.MP3"});
            QCOMPARE(world.player.PlayState(), 2);
        }
    }

    // Each word reaches its button's action; the buttons' own test goes
    // through what those actions do at the ends of the list.
    void playbackAsTheButtons()
    {
        TestWorld world;
        Form1 &form = startWithTracks(world, {"one.mp3", "three.mp3", "two.mp3"});
        const QString notPlaying = "<b>error</b>, no mp3 playing";
        const struct {
            const char *line;
            QStringList answer;
        } steps[] = {
            {".pause", {notPlaying}},
            {".stop", {notPlaying}},
            {".next", {"<b>playing</b>: one"}},
            {".pause", {"<b>paused</b>: one"}},
            {".next", {"<b>playing</b>: three"}},
            {".stop", {"<b>stopped</b>: three"}},
            {".prev", {"<b>playing</b>: one"}},
            {".refresh", {"directory refreshed "}},
        };
        for (const auto &step : steps)
            QVERIFY2(answerTo(world, step.line) == step.answer, step.line);
        QCOMPARE(form.File1->listIndex(), 0);
        QCOMPARE(world.player.PlayState(), 2);
    }

    // Copied from an old Windows machine: the name's bytes are Latin-1.
    void aNameNotInUtf8PlaysEveryWay()
    {
        TestWorld world;
        QVERIFY(std::filesystem::copy_file(QFile::encodeName(sampleMp3()).toStdString(),
                                           QFile::encodeName(world.musicDir()).toStdString() + "/Caf\xE9.mp3"));
        Form1 &form = startWithTracks(world, {"Alpha.mp3"});
        const QString cafe = QString::fromUtf8("Caf\xC3\xA9");
        QCOMPARE(form.File1->entries(), QStringList({"Alpha.mp3", cafe + ".mp3"}));
        form.File1->setListIndex(0);
        QCOMPARE(answerTo(world, ".next"), QStringList{"<b>playing</b>: " + cafe});
        world.clearLines();
        QTest::mouseClick(form.play, Qt::LeftButton);
        world.say(".p caf");
        QVERIFY(waitForAnnouncements(world, 2));
        QCOMPARE(announcements(world), QStringList(2, "<b>playing</b>: " + cafe));
    }
};

DUN2_TEST(PlayerCommandsTest);
#include "tst_playercommands.moc"
