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
            std::function<QWidget &(Form1 &)> open; // as the options menu or a search opens it
            std::function<void(QWidget &)> leave;
            std::function<bool(Form1 &)> wayOutRan; // what the way out leaves besides the swap
            bool leaves = true;
        };
        const auto close = [](QWidget &window) { window.close(); };
        const auto coms = [](Form1 &f) -> QWidget & { f.form5().cmdcoms->trigger(); return f.form8(); };
        const auto about = [](Form1 &f) -> QWidget & { f.form5().cmdabout->trigger(); return f.form7(); };
        const auto swapOnly = [](Form1 &) { return true; };
        const Case cases[] = {
            {"command list, closed", coms, close, swapOnly},
            {"about, closed", about, close, swapOnly},
            {"song picker, closed", [](Form1 &f) -> QWidget & { return openPicker(f, {"a.mp3"}); }, close,
             [](Form1 &f) { return f.form3().List1->count() == 0 && !f.chat2->scanning(); }},
            {"style chooser, closed", [](Form1 &f) -> QWidget & { f.form5().cmdchoose->trigger(); return f.form4(); },
             close, swapOnly},
            {"style editor, closed",
             [](Form1 &f) -> QWidget & {
                 f.form5().cmdcreate->trigger();
                 f.form6().Text1->setText("half typed");
                 f.form6().Text4->setText("FF0000");
                 return f.form6();
             },
             // Emptied.
             close, [](Form1 &f) { return f.form6().Text1->text().isEmpty() && f.form6().Text4->text().isEmpty(); }},
            {"path chooser, closed", [](Form1 &f) -> QWidget & { f.form5().cmdnew->trigger(); return f.form2(); },
             close, swapOnly, false},
        };
        for (const Case &c : cases) {
            TestWorld world;
            Form1 &form = startWithTracks(world, {});
            hideInterface(form);
            QWidget &window = c.open(form);
            QVERIFY2(window.isVisible() && !form.isVisible(), c.name);
            world.clearLines();
            c.leave(window);
            QVERIFY2(window.isVisible() != c.leaves, c.name);
            QVERIFY2(form.isVisible() == c.leaves, c.name);
            QVERIFY2(c.wayOutRan(form), c.name);
            QVERIFY2(trayIconAdded(), c.name);
            QVERIFY2(world.lines().isEmpty(), c.name);
            RemoveFromTray();
        }
    }
};

DUN2_TEST(SecondaryWindowsTest);
#include "tst_secondarywindows.moc"
