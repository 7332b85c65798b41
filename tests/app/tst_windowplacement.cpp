// Every window the program shows is on the screen, on small screens and at
// a scale of 2, as users have them.
#include "app/mainwindow.h"
#include "app/programcore.h"
#include "app/roomwindowstart.h"
#include "platform/chatroomwindow.h"
#include "platform/twips.h"
#include "styles/stylechooser.h"
#include "styles/styleeditor.h"
#include "support/testregistry.h"
#include "support/world.h"
#include "windows/aboutwindow.h"
#include "windows/commandlist.h"
#include "windows/pathchooser.h"
#include "windows/songpicker.h"

#include <QCoreApplication>
#include <QDebug>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

class WindowPlacementTest : public QObject
{
    Q_OBJECT

private slots:
    void everyWindowIsOnTheScreen()
    {
        // The scale and the screen are fixed when the application starts:
        // each case is a run of this test of its own.
        if (!qEnvironmentVariableIsSet("DUN2_PLACEMENT_CASE")) {
            const struct {
                const char *scale;
                int width, height;
            } cases[] = {{"2", 1280, 800}, {"2", 1920, 1080}, {"1", 1280, 800}};
            for (const auto &[scale, width, height] : cases) {
                QTemporaryDir dir;
                QFile config(dir.filePath("screen.json"));
                QVERIFY(config.open(QIODevice::WriteOnly));
                config.write(QString(R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": %1, "height": %2,
                                     "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                                 .arg(width)
                                 .arg(height)
                                 .toUtf8());
                config.close();
                QProcess run;
                QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
                environment.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName());
                environment.insert("QT_SCALE_FACTOR", scale);
                environment.insert("DUN2_PLACEMENT_CASE", QString("%1 at %2x%3").arg(scale).arg(width).arg(height));
                run.setProcessEnvironment(environment);
                run.setProcessChannelMode(QProcess::MergedChannels);
                run.start(QCoreApplication::applicationFilePath(), {"tst_windowplacement", "everyWindowIsOnTheScreen"});
                QVERIFY(run.waitForFinished(120000));
                QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0, run.readAll());
            }
            return;
        }
        const QByteArray scaleAndScreen = qgetenv("DUN2_PLACEMENT_CASE");
        TestWorld world;
        world.writePreferences(QString(), "Ann"); // the first start: the chooser shows, no question
        ProgramCore program(world.environment);
        MainWindow &form = program.mainWindow();
        ChatRoomWindow room(world.client());
        showRoomWindow(room, form);
        form.load();
        form.show();
        const QList<QWidget *> windows = {&form,
                                          &room,
                                          &form.pathChooser(),
                                          &form.aboutWindow(),
                                          &form.commandList(),
                                          &form.songPicker(),
                                          &form.styleChooser(),
                                          &form.styleEditor()};
        // Where it fits, the main window is where it always was.
        if (qEnvironmentVariable("QT_SCALE_FACTOR") == "1")
            QCOMPARE(form.pos(), QPoint(twipsToPixelsX(5000, &form), twipsToPixelsY(5000, &form)));
        for (QWidget *window : windows) {
            window->show();
            const QRect area = window->screen()->availableGeometry();
            QString seen;
            QDebug(&seen) << window->windowTitle() << scaleAndScreen << window->frameGeometry() << area;
            QVERIFY2(area.contains(window->frameGeometry()), qPrintable(seen));
        }
    }
};

DUN2_TEST(WindowPlacementTest);
#include "tst_windowplacement.moc"
