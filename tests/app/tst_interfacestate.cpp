#include "app/interfacestate.h"
#include "app/mainwindow.h"
#include "app/secondarywindows.h"
#include "app/tray.h"
#include "platform/clicklabel.h"
#include "platform/twips.h"
#include "support/testregistry.h"
#include "support/world.h"
#include "windows/aboutwindow.h"
#include "windows/commandlist.h"
#include "windows/pathchooser.h"

#include <QApplication>
#include <QRegularExpression>

#include <QTest>
#include <functional>
#include <tuple>

namespace {

// What the window looked like when an announcement reached the room.
struct Seen {
    int height = -1;
    bool rollDownShown = false;
    bool minimized = false;
    bool ended = false;
    QStringList shown; // the classes of the windows up
};

} // namespace

class InterfaceStateTest : public QObject
{
    Q_OBJECT

private slots:
    void announcementAndWindowChangesComeInOrder()
    {
        struct Case {
            const char *name;
            std::function<void(MainWindow &)> before;
            std::function<void(MainWindow &)> act;
            std::function<bool(const Seen &, MainWindow &)> probe; // true: the window was not ready for the line
            std::function<bool(TestWorld &, MainWindow &)> after;
            const char *line;
        };
        const auto rolled = [](MainWindow &f, int twips, bool up) {
            return f.height() == twipsToPixelsY(twips, &f) && control<ClickLabel>(f, "rollDownLabel")->isHidden() != up && control<ClickLabel>(f, "rollUpLabel")->isHidden() == up;
        };
        // The height changes before the line goes out, the glyphs after.
        const Case cases[] = {
            {"roll up", {}, [](MainWindow &f) { QTest::mouseClick(control<ClickLabel>(f, "rollUpLabel"), Qt::LeftButton); },
             [](const Seen &s, MainWindow &f) { return s.height != twipsToPixelsY(RolledUpTwips, &f) || s.rollDownShown; },
             [&](TestWorld &, MainWindow &f) { return rolled(f, RolledUpTwips, true); }, "<b>iface</b> rolled up"},
            {"roll down", [](MainWindow &f) { rollUp(f); }, [](MainWindow &f) { QTest::mouseClick(control<ClickLabel>(f, "rollDownLabel"), Qt::LeftButton); },
             [](const Seen &s, MainWindow &f) { return s.height != twipsToPixelsY(RolledDownTwips, &f) || !s.rollDownShown; },
             [&](TestWorld &, MainWindow &f) { return rolled(f, RolledDownTwips, false); }, "<b>iface</b> rolled down"},
            {"minimise label", {}, [](MainWindow &f) { QTest::mouseClick(control<ClickLabel>(f, "minimiseLabel"), Qt::LeftButton); },
             [](const Seen &s, MainWindow &) { return s.minimized; }, [](TestWorld &, MainWindow &f) { return f.isMinimized(); },
             "<b>iface</b> minimized "},
            {"max", [](MainWindow &f) { minimizeInterface(f); }, [](MainWindow &f) { restoreInterface(f); },
             [](const Seen &s, MainWindow &) { return !s.minimized; },
             [](TestWorld &, MainWindow &f) { return !f.isMinimized() && !f.isMaximized() && f.isVisible(); },
             "<b>iface</b> maximized "},
            {"close label", {}, [](MainWindow &f) { QTest::mouseClick(control<ClickLabel>(f, "closeLabel"), Qt::LeftButton); },
             [](const Seen &s, MainWindow &) { return s.ended; }, [](TestWorld &w, MainWindow &) { return w.programEnded(); },
             "Ðûñ² unløªded "},
            // The other way round: the path chooser and the about window are up
            // before they are announced; the command list comes after.
            {"new path", {}, [](MainWindow &f) { QTest::mouseClick(control<ClickLabel>(f, "newPathLabel"), Qt::LeftButton); },
             [](const Seen &s, MainWindow &) { return !s.shown.contains("PathChooser") || s.shown.contains("MainWindow"); },
             [](TestWorld &, MainWindow &f) { return f.pathChooser().isVisible(); }, "searching for path "},
            {"about", {}, showAbout,
             [](const Seen &s, MainWindow &) { return !s.shown.contains("AboutWindow") || s.shown.contains("MainWindow"); },
             [](TestWorld &, MainWindow &f) { return f.aboutWindow().isVisible(); }, "<b>about</b> Ðûñ²"},
            {"coms", {}, showCommandList,
             [](const Seen &s, MainWindow &) { return s.shown.contains("CommandList") || !s.shown.contains("MainWindow"); },
             [](TestWorld &, MainWindow &f) { return f.commandList().isVisible() && !f.isVisible(); }, "<b>v</b>i<b>ewing</b> coms"},
            {"xcoms", showCommandList, closeCommandList,
             [](const Seen &s, MainWindow &) { return s.shown.contains("CommandList") || !s.shown.contains("MainWindow"); },
             [](TestWorld &, MainWindow &f) { return !f.commandList().isVisible() && f.isVisible(); }, "<b>c</b>l<b>osed</b> coms"},
        };
        for (const Case &c : cases) {
            TestWorld world;
            world.writePreferences(world.musicDir(), "Ann");
            MainWindow &form = world.start();
            if (c.before)
                c.before(form);
            std::vector<Seen> seen;
            QObject::connect(&world.client(), &ChatClient::lineReceived, &form, [&] {
                QStringList shown;
                for (const QWidget *window : QApplication::topLevelWidgets())
                    if (window->isVisible())
                        shown << window->metaObject()->className();
                seen.push_back({form.height(), !control<ClickLabel>(form, "rollDownLabel")->isHidden(), form.isMinimized(), world.programEnded(), shown});
            });
            world.clearLines();
            c.act(form);
            QVERIFY2(world.userLines() == QStringList{TestWorld::styled(QString::fromUtf8(c.line))}, c.name);
            QVERIFY2(!c.probe(seen.front(), form), c.name);
            QVERIFY2(c.after(world, form), c.name);
        }
    }

    void statesAreIndependentAndHiddenStaysHidden()
    {
        TestWorld world;
        world.writePreferences(world.musicDir(), "Ann");
        MainWindow &form = world.start();
        const int unrolled = form.height();
        QVERIFY(!control<ClickLabel>(form, "rollUpLabel")->isHidden() && control<ClickLabel>(form, "rollDownLabel")->isHidden());
        QCOMPARE(control<ClickLabel>(form, "rollDownLabel")->geometry(), control<ClickLabel>(form, "rollUpLabel")->geometry());
        rollUp(form);
        const int rolledUp = form.height();
        QVERIFY(rolledUp < unrolled);
        // Rolled up, the whole title strip with its buttons is still there.
        for (QWidget *strip : std::initializer_list<QWidget *>{control<ClickLabel>(form, "titleLabel"), control<ClickLabel>(form, "rollDownLabel"), control<ClickLabel>(form, "minimiseLabel"), control<ClickLabel>(form, "closeLabel")})
            QVERIFY(strip->geometry().bottom() < form.height());
        minimizeInterface(form);
        restoreInterface(form);
        QCOMPARE(form.height(), rolledUp);
        QVERIFY(!control<ClickLabel>(form, "rollDownLabel")->isHidden());

        if (!TrayAvailable()) {
            // Without a notification area (here, and on many desktops) going
            // there minimises instead, and says so; "max" and "show" bring the
            // window back. The chat command and the menu's "min tray" alike.
            for (const auto &[goToTray, comeBack, back] :
                 {std::tuple{".hide", ".max", "<b>iface</b> maximized "}, {"min tray", ".show", "<b>iface </b>showing"}}) {
                world.clearLines();
                if (goToTray == QString("min tray"))
                    sendToTray(form);
                else
                    world.say(goToTray);
                QVERIFY(world.waitUntilHandled());
                QVERIFY2(form.isVisible() && form.isMinimized() && !trayIconAdded(), goToTray);
                world.say(comeBack);
                QVERIFY(world.waitUntilHandled());
                QVERIFY2(form.isVisible() && !form.isMinimized(), comeBack);
                QCOMPARE(world.userLines().filter(QRegularExpression("^[^.]")),
                         QStringList({TestWorld::styled("<b>iface</b> minimized, no tray "), TestWorld::styled(back)}));
            }
            return;
        }
        // Hidden, the window is reached through the tray icon alone.
        hideInterface(form);
        QVERIFY(trayIconAdded());
        QCOMPARE(trayRecord().tipText(), QString::fromUtf8("Ðûñ²"));
        minimizeInterface(form);
        QVERIFY(!form.isVisible());
        restoreInterface(form);
        QVERIFY(!form.isVisible());
        showInterface(form);
        QVERIFY(form.isVisible());
        QVERIFY(!form.isMinimized());
        QVERIFY(!trayIconAdded());
    }
};

DUN2_TEST(InterfaceStateTest);
#include "tst_interfacestate.moc"
