#include "app/interfacestate.h"
#include "app/tray.h"
#include "chatworld.h"
#include "platform/clicklabel.h"
#include "platform/twips.h"
#include "styles/stylechooser.h"
#include "styles/styleeditor.h"
#include "support/testregistry.h"
#include "windows/aboutwindow.h"
#include "windows/commandlist.h"
#include "windows/optionsmenu.h"
#include "windows/pathchooser.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>

class WindowCommandsTest : public QObject
{
    Q_OBJECT

    // Says one command and waits for the replies it should give.
    static void command(TestWorld &world, const QString &line, int replies)
    {
        world.clearLines();
        world.say(line);
        QVERIFY2(waitForAnnouncements(world, replies), qPrintable(line));
        world.settle();
    }

private slots:
    void windowsSwapAndEachCommandAnswers()
    {
        TestWorld world;
        Form1 &form = startWithTracks(world, {"a.mp3"});

        command(world, ".about", 1);
        QCOMPARE(announcements(world), QStringList{QString::fromUtf8("<b>about</b> Ðûñ²")});
        QVERIFY(!form.isVisible() && form.form7().isVisible());

        command(world, ".coms", 1);
        QCOMPARE(announcements(world), QStringList{"<b>v</b>i<b>ewing</b> coms"});
        QVERIFY(form.form8().isVisible());
        command(world, ".xcoms", 1);
        QCOMPARE(announcements(world), QStringList{"<b>c</b>l<b>osed</b> coms"});
        QVERIFY(!form.form8().isVisible() && form.isVisible());

        command(world, ".create", 1);
        QCOMPARE(announcements(world), QStringList{"<b>creating</b> style "});
        QVERIFY(!form.isVisible() && form.form6().isVisible());
        command(world, ".styles", 1);
        QCOMPARE(announcements(world), QStringList{"<b>viewing</b> styles "});
        QVERIFY(form.form4().isVisible());
        command(world, ".new path", 1);
        QCOMPARE(announcements(world), QStringList{"<b>searching</b> for new directory"});
        QVERIFY(form.form2().isVisible() && !form.isVisible());

        command(world, ".adv", 2);
        QCOMPARE(announcements(world), QStringList({QString::fromUtf8("<b>Ð</b>û<b>ñ</b>² b<b>y</b>: Ð<b>û</b>ñ<b>net"),
                                                    "<b>a</b>o<b>l</b> 7-9"}));
    }

    void mainWindowStatesFromTheRoom()
    {
        TestWorld world;
        Form1 &form = startWithTracks(world, {"a.mp3"});

        command(world, ".roll up", 1);
        QCOMPARE(announcements(world), QStringList{"<b>iface</b> rolled up"});
        QCOMPARE(form.height(), twipsToPixelsY(RolledUpTwips, &form));
        QVERIFY(form.Label3->isVisibleTo(&form) && !form.Label7->isVisibleTo(&form));
        command(world, ".roll down", 1);
        QCOMPARE(form.height(), twipsToPixelsY(RolledDownTwips, &form));
        QVERIFY(!form.Label3->isVisibleTo(&form) && form.Label7->isVisibleTo(&form));

        command(world, ".min", 1);
        QCOMPARE(announcements(world), QStringList{"<b>iface</b> minimized "});
        QVERIFY(form.windowState().testFlag(Qt::WindowMinimized));
        command(world, ".max", 1);
        QCOMPARE(announcements(world), QStringList{"<b>iface</b> maximized "});
        QVERIFY(!form.windowState().testFlag(Qt::WindowMinimized));
        QVERIFY(!form.windowState().testFlag(Qt::WindowMaximized));

        command(world, ".hide", 1);
        QCOMPARE(announcements(world), QStringList{"<b>iface </b>hidden"});
        QVERIFY(!form.isVisible() && trayIconAdded());
        command(world, ".show", 1);
        QCOMPARE(announcements(world), QStringList{"<b>iface </b>showing"});
        QVERIFY(form.isVisible() && !trayIconAdded());
    }

    void exitAnnouncesAndNothingAfterRuns()
    {
        TestWorld world;
        startWithTracks(world, {"a.mp3"});
        world.say(".exit");
        QVERIFY(waitForAnnouncements(world, 1));
        world.settle();
        QVERIFY(world.programEnded());
        QCOMPARE(announcements(world), QStringList{QString::fromUtf8("Ðûñ² unløªded ")});
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
        QCOMPARE(menu.opts->actions().size(), 14); // five entries, four sub-menus, separators between
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
        leaf(menu.cmdnew, "searching for path ");
        QVERIFY(form.form2().isVisible());
        leaf(menu.cmdchoose, "<b>viewing</b> styles ");
        leaf(menu.cmdcreate, "<b>creating</b> style ");
        leaf(menu.cmdcoms, "<b>v</b>i<b>ewing</b> coms");
        leaf(menu.cmdabout, QString::fromUtf8("<b>about</b> Ðûñ²"));
        leaf(menu.cmdexit, QString::fromUtf8("Ðûñ² unløªded "));
        QVERIFY(world.programEnded());
    }
};

DUN2_TEST(WindowCommandsTest);
#include "tst_windowcommands.moc"
