#include "app/tray.h"
#include "chatworld.h"
#include "support/testregistry.h"
#include "windows/optionsmenu.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>

class WindowCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    // Each word and each menu leaf reaches its own action: the reply is
    // that action's line, the menu's "new" in the main window's words. How
    // the windows swap is the business of the windows' own tests; a click
    // that takes the same action as a word stands for it.
    void eachWordAndMenuLeafActs()
    {
        TestWorld world;
        MainWindow &form = startWithTracks(world, {"a.mp3"});
        OptionsMenu &menu = form.optionsMenu();
        // Without a notification area, both roads there minimise instead.
        const QString noTray = "<b>iface</b> minimized, no tray ";
        const struct {
            const char *line; // said, or the name of the leaf triggered
            QStringList answer;
            QAction *leaf = nullptr;
        } steps[] = {
            {".about", {QString::fromUtf8("<b>about</b> Ðûñ²")}},
            {".coms", {"<b>v</b>i<b>ewing</b> coms"}},
            {".xcoms", {"<b>c</b>l<b>osed</b> coms"}},
            {".create", {"<b>creating</b> style "}},
            {".styles", {"<b>viewing</b> styles "}},
            {".new path", {"<b>searching</b> for new directory"}},
            {"create", {"<b>creating</b> style "}, menu.cmdcreate},
            {"choose", {"<b>viewing</b> styles "}, menu.cmdchoose},
            {"new", {"searching for path "}, menu.cmdnew},
            {".adv", {QString::fromUtf8("<b>Ð</b>û<b>ñ</b>² b<b>y</b>: Ð<b>û</b>ñ<b>net"), "<b>a</b>o<b>l</b> 7-9"}},
            {".max", {"<b>iface</b> maximized "}},
            {"min", {"<b>iface</b> minimized "}, menu.cmdmin},
            {".hide", {TrayAvailable() ? "<b>iface </b>hidden" : noTray}},
            {".show", {"<b>iface </b>showing"}},
            {"tray", {TrayAvailable() ? "<b>iface</b> sent to tray " : noTray}, menu.cmdtray},
            {".show", {"<b>iface </b>showing"}},
            {"refresh", {"directory refreshed "}, menu.cmdrefresh},
            {"auto random", {"<b>a</b>uto <b>rand</b>om on"}, menu.cmdaut},
            {"continuous", {"<b>a</b>uto <b>rand</b>om mode is on"}, menu.cmdcont},
        };
        for (const auto &step : steps) {
            world.clearLines();
            step.leaf ? step.leaf->trigger() : world.say(step.line);
            QVERIFY2(world.waitUntilHandled(), step.line);
            QVERIFY2(announcements(world) == step.answer, step.line);
        }
        QVERIFY(form.isVisible() && !trayIconAdded());
        QVERIFY(control<QCheckBox>(form, "randomBox")->isChecked() && !control<QCheckBox>(form, "continuousBox")->isChecked());
        world.clearLines();
        menu.cmdexit->trigger();
        QVERIFY(world.waitUntilHandled() && world.programEnded());
        QCOMPARE(announcements(world), QStringList{QString::fromUtf8("Ðûñ² unløªded ")});
    }
};

DUN2_TEST(WindowCommandsTest);
#include "tst_windowcommands.moc"
