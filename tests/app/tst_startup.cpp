#include "app/mainwindow.h"
#include "app/roomwindowstart.h"
#include "platform/chatroomwindow.h"
#include "platform/filelistbox.h"
#include "platform/filename.h"
#include "support/testregistry.h"
#include "support/world.h"
#include "windows/pathchooser.h"
#include "windows/songpicker.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <cstdio>

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    // A cancelled prompt counts as an empty answer.
    void firstStartShowsPathChooserAndStoresNothingOnEmptyAnswer()
    {
        for (const std::optional<QString> &answer : {std::optional<QString>(QString()), std::optional<QString>()}) {
            TestWorld world;
            MainWindow &form = world.start(answer);
            QVERIFY(form.pathChooser().isVisible());
            QVERIFY(!form.isVisible());
            QVERIFY(!QFile::exists(world.preferencesPath()));
            QCOMPARE(world.userLines(), QStringList({TestWorld::styled(QString::fromUtf8("Ðûñ² løªded ")),
                                                     TestWorld::styled("user: ")}));
        }
    }

    void storedDirectoryShowsMainWindowAtFullVolume()
    {
        TestWorld world;
        // Its name came from an old machine: not UTF-8, and found again all the same.
        const QString folder = world.home() + decodeFileName("/caf\xE9");
        QVERIFY(QFile(world.musicDir() + "/a.mp3").open(QIODevice::WriteOnly));
        QCOMPARE(std::rename(QFile::encodeName(world.musicDir()), encodeFileName(folder)), 0);
        world.writePreferences(folder, "Ann");
        QString volumeAtFirstLine;
        MainWindow *form = &world.make();
        QObject::connect(&world.client(), &ChatClient::lineReceived, [&] {
            if (volumeAtFirstLine.isEmpty())
                volumeAtFirstLine = control<QLabel>(*form, "volumeLabel")->text();
        });
        world.start();
        QVERIFY(form->isVisible());
        QVERIFY(!form->pathChooser().isVisible());
        QCOMPARE(volumeAtFirstLine, QString("100%"));
        QCOMPARE(world.player.volume(), 0L);
        QCOMPARE(control<QLineEdit>(*form, "path")->text(), world.home() + QString::fromUtf8("/caf\xC3\xA9"));
        QCOMPARE(control<FileListBox>(*form, "trackList")->filePath("a.mp3"), encodeFileName(folder) + "/a.mp3");
        QCOMPARE(control<FileListBox>(*form, "trackList")->listCount(), 1);
        QCOMPARE(world.userLines().last(), TestWorld::styled("user: Ann"));
        QVERIFY(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    // What a new user sees first: the room window clear of the two windows
    // that stay on top, so its entry line shows; and, with no sound device,
    // a line there that says so.
    void roomWindowBesideTheWindowsOnTop()
    {
        qputenv("PULSE_SERVER", "unix:/nonexistent");
        qputenv("ALSA_CONFIG_PATH", "/nonexistent");
        MediaPlayer noDevice(MediaPlayer::AudioOutput::Device);
        TestWorld world;
        world.writePreferences(QString(), "Ann"); // the chooser shows, no question
        for (MediaPlayer *player : {&world.player, &noDevice}) {
            PlayerState state;
            Environment environment{world.desktop, world.client(), *player, state, world.inputBox, world.messageBox,
                                    world.environment.home};
            ProgramCore program(environment);
            MainWindow &form = program.mainWindow();
            ChatRoomWindow room(world.client());
            showRoomWindow(room, form);
            form.load();
            QVERIFY(room.isVisible() && form.pathChooser().isVisible());
            QVERIFY(room.screen()->availableGeometry().contains(room.frameGeometry()));
            QVERIFY(!room.frameGeometry().intersects(form.frameGeometry()));
            QVERIFY(!room.frameGeometry().intersects(form.pathChooser().frameGeometry()));
            QCOMPARE(room.noticeLine()->isVisible(), player == &noDevice);
            QCOMPARE(room.noticeLine()->text(), player->soundProblem());
        }
        QCOMPARE(noDevice.soundProblem(), "no sound device works here; playing silently");
    }
};

DUN2_TEST(StartupTest);
#include "tst_startup.moc"
