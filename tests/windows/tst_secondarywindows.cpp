#include "app/interfacestate.h"
#include "app/tray.h"
#include "platform/clicklabel.h"
#include "pickerworld.h"
#include "styles/stylechooser.h"
#include "styles/styleeditor.h"
#include "support/testregistry.h"
#include "windows/aboutwindow.h"
#include "windows/commandlist.h"
#include "windows/optionsmenu.h"
#include "windows/pathchooser.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <functional>

class SecondaryWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    // A close by the window manager takes the window's own way out (so this
    // checks both): the main window comes back, even from the tray. The path
    // chooser has no way out but "Set" and stays.
    void everyWayOutBringsTheMainWindowBack()
    {
        struct Case {
            const char *name;
            std::function<QWidget &(MainWindow &)> open; // as the options menu or a search opens it
            std::function<void(QWidget &)> leave;
            std::function<bool(MainWindow &)> wayOutRan; // what the way out leaves besides the swap
            bool leaves = true;
        };
        const auto close = [](QWidget &window) { window.close(); };
        const auto coms = [](MainWindow &f) -> QWidget & { f.optionsMenu().cmdcoms->trigger(); return f.commandList(); };
        const auto about = [](MainWindow &f) -> QWidget & { f.optionsMenu().cmdabout->trigger(); return f.aboutWindow(); };
        const auto swapOnly = [](MainWindow &) { return true; };
        const Case cases[] = {
            {"command list, closed", coms, close, swapOnly},
            {"about, closed", about, close, swapOnly},
            {"song picker, closed", [](MainWindow &f) -> QWidget & { return openPicker(f, {"a.mp3"}); }, close,
             [](MainWindow &f) { return f.songPicker().matchList->count() == 0 && !f.program().searchScan->scanning(); }},
            {"style chooser, closed", [](MainWindow &f) -> QWidget & { f.optionsMenu().cmdchoose->trigger(); return f.styleChooser(); },
             close, swapOnly},
            {"style editor, closed",
             [](MainWindow &f) -> QWidget & {
                 f.optionsMenu().cmdcreate->trigger();
                 f.styleEditor().nameBox->setText("half typed");
                 f.styleEditor().fcolorBox->setText("FF0000");
                 return f.styleEditor();
             },
             // Emptied.
             close, [](MainWindow &f) { return f.styleEditor().nameBox->text().isEmpty() && f.styleEditor().fcolorBox->text().isEmpty(); }},
            {"path chooser, closed", [](MainWindow &f) -> QWidget & { f.optionsMenu().cmdnew->trigger(); return f.pathChooser(); },
             close, swapOnly, false},
        };
        for (const Case &c : cases) {
            TestWorld world;
            MainWindow &form = startWithTracks(world, {});
            // Without a notification area there is no going there.
            if (TrayAvailable())
                hideInterface(form);
            QWidget &window = c.open(form);
            QVERIFY2(window.isVisible() && !form.isVisible(), c.name);
            world.clearLines();
            c.leave(window);
            QVERIFY2(window.isVisible() != c.leaves, c.name);
            QVERIFY2(form.isVisible() == c.leaves, c.name);
            QVERIFY2(c.wayOutRan(form), c.name);
            QVERIFY2(trayIconAdded() == TrayAvailable(), c.name);
            QVERIFY2(world.lines().isEmpty(), c.name);
            RemoveFromTray();
        }
    }
};

DUN2_TEST(SecondaryWindowsTest);
#include "tst_secondarywindows.moc"
