#include "app/interfacestate.h"
#include "app/tray.h"
#include "chatworld.h"
#include "platform/twips.h"
#include "support/testregistry.h"
#include "windows/optionsmenu.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>

class WindowCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    // Each word reaches its own action: the reply is that action's line. How
    // the windows swap is the business of the windows' own tests.
    void eachWordActs()
    {
        TestWorld world;
        Form1 &form = startWithTracks(world, {"a.mp3"});
        const struct {
            const char *line;
            QStringList answer;
        } steps[] = {
            {".about", {QString::fromUtf8("<b>about</b> Ðûñ²")}},
            {".coms", {"<b>v</b>i<b>ewing</b> coms"}},
            {".xcoms", {"<b>c</b>l<b>osed</b> coms"}},
            {".create", {"<b>creating</b> style "}},
            {".styles", {"<b>viewing</b> styles "}},
            {".new path", {"<b>searching</b> for new directory"}},
            {".adv", {QString::fromUtf8("<b>Ð</b>û<b>ñ</b>² b<b>y</b>: Ð<b>û</b>ñ<b>net"), "<b>a</b>o<b>l</b> 7-9"}},
            {".roll up", {"<b>iface</b> rolled up"}},
            {".roll down", {"<b>iface</b> rolled down"}},
            {".min", {"<b>iface</b> minimized "}},
            {".max", {"<b>iface</b> maximized "}},
            {".hide", {"<b>iface </b>hidden"}},
            {".show", {"<b>iface </b>showing"}},
        };
        for (const auto &step : steps) {
            said(world, step.line, int(step.answer.size()));
            world.settle();
            QVERIFY2(announcements(world) == step.answer, step.line);
        }
        QVERIFY(form.isVisible() && !trayIconAdded());
        QCOMPARE(form.height(), twipsToPixelsY(RolledDownTwips, &form));
    }

    void everyMenuLeafActs()
    {
        TestWorld world;
        Form1 &form = startWithTracks(world, {"a.mp3"});
        Form5 &menu = form.form5();
        auto leaf = [&](QAction *action, const QString &reply) {
            world.clearLines();
            action->trigger();
            QVERIFY2(waitForAnnouncements(world, 1), qPrintable(action->objectName()));
            QCOMPARE(announcements(world).first(), reply);
        };
        // Each menu opens and ends with a separator line; all of them are drawn.
        for (QMenu *list : {menu.opts, menu.cmdform, menu.cmddir, menu.cmdmp3, menu.cmdstyles})
            for (QAction *item : list->actions())
                QVERIFY2(list->actionGeometry(item).height() > 0, qPrintable(item->objectName()));
        leaf(menu.cmdmin, "<b>iface</b> minimized ");
        leaf(menu.cmdmax, "<b>iface</b> maximized ");
        leaf(menu.cmdtray, "<b>iface</b> sent to tray ");
        QVERIFY(!form.isVisible() && trayIconAdded());
        showInterface(form);
        leaf(menu.cmdrefresh, "directory refreshed ");
        leaf(menu.cmdaut, "<b>a</b>uto <b>rand</b>om on");
        QVERIFY(form.Check1->isChecked());
        leaf(menu.cmdcont, "<b>a</b>uto <b>rand</b>om mode is on");
        QVERIFY(!form.Check2->isChecked());
        // The entries that open a window are the windows' own tests' business.
        leaf(menu.cmdexit, QString::fromUtf8("Ðûñ² unløªded "));
        QVERIFY(world.programEnded());
    }
};

DUN2_TEST(WindowCommandsTest);
#include "tst_windowcommands.moc"
