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

#include <QTest>
#include <functional>

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
            std::function<void(Form1 &)> before;
            std::function<void(Form1 &)> act;
            std::function<bool(const Seen &, Form1 &)> probe; // true: the window was not ready for the line
            std::function<bool(TestWorld &, Form1 &)> after;
            const char *line;
        };
        const auto rolled = [](Form1 &f, int twips, bool up) {
            return f.height() == twipsToPixelsY(twips, &f) && f.Label3->isHidden() != up && f.Label7->isHidden() == up;
        };
        // The height changes before the line goes out, the glyphs after.
        const Case cases[] = {
            {"roll up", {}, [](Form1 &f) { QTest::mouseClick(f.Label7, Qt::LeftButton); },
             [](const Seen &s, Form1 &f) { return s.height != twipsToPixelsY(RolledUpTwips, &f) || s.rollDownShown; },
             [&](TestWorld &, Form1 &f) { return rolled(f, RolledUpTwips, true); }, "<b>iface</b> rolled up"},
            {"roll down", [](Form1 &f) { rollUp(f); }, [](Form1 &f) { QTest::mouseClick(f.Label3, Qt::LeftButton); },
             [](const Seen &s, Form1 &f) { return s.height != twipsToPixelsY(RolledDownTwips, &f) || !s.rollDownShown; },
             [&](TestWorld &, Form1 &f) { return rolled(f, RolledDownTwips, false); }, "<b>iface</b> rolled down"},
            {"minimise label", {}, [](Form1 &f) { QTest::mouseClick(f.Label6, Qt::LeftButton); },
             [](const Seen &s, Form1 &) { return s.minimized; }, [](TestWorld &, Form1 &f) { return f.isMinimized(); },
             "<b>iface</b> minimized "},
            {"max", [](Form1 &f) { minimizeInterface(f); }, [](Form1 &f) { restoreInterface(f); },
             [](const Seen &s, Form1 &) { return !s.minimized; },
             [](TestWorld &, Form1 &f) { return !f.isMinimized() && !f.isMaximized() && f.isVisible(); },
             "<b>iface</b> maximized "},
            {"close label", {}, [](Form1 &f) { QTest::mouseClick(f.Label2, Qt::LeftButton); },
             [](const Seen &s, Form1 &) { return s.ended; }, [](TestWorld &w, Form1 &) { return w.programEnded(); },
             "Ðûñ² unløªded "},
            // The other way round: the path chooser and the about window are up
            // before they are announced; the command list comes after.
            {"new path", {}, [](Form1 &f) { QTest::mouseClick(f.Label5, Qt::LeftButton); },
             [](const Seen &s, Form1 &) { return !s.shown.contains("Form2") || s.shown.contains("Form1"); },
             [](TestWorld &, Form1 &f) { return f.form2().isVisible(); }, "searching for path "},
            {"about", {}, showAbout,
             [](const Seen &s, Form1 &) { return !s.shown.contains("Form7") || s.shown.contains("Form1"); },
             [](TestWorld &, Form1 &f) { return f.form7().isVisible(); }, "<b>about</b> Ðûñ²"},
            {"coms", {}, showCommandList,
             [](const Seen &s, Form1 &) { return s.shown.contains("Form8") || !s.shown.contains("Form1"); },
             [](TestWorld &, Form1 &f) { return f.form8().isVisible() && !f.isVisible(); }, "<b>v</b>i<b>ewing</b> coms"},
            {"xcoms", showCommandList, closeCommandList,
             [](const Seen &s, Form1 &) { return s.shown.contains("Form8") || !s.shown.contains("Form1"); },
             [](TestWorld &, Form1 &f) { return !f.form8().isVisible() && f.isVisible(); }, "<b>c</b>l<b>osed</b> coms"},
        };
        for (const Case &c : cases) {
            TestWorld world;
            world.writePreferences(world.musicDir(), "Ann");
            Form1 &form = world.start();
            if (c.before)
                c.before(form);
            std::vector<Seen> seen;
            QObject::connect(&world.client(), &ChatClient::lineReceived, &form, [&] {
                QStringList shown;
                for (const QWidget *window : QApplication::topLevelWidgets())
                    if (window->isVisible())
                        shown << window->metaObject()->className();
                seen.push_back({form.height(), !form.Label3->isHidden(), form.isMinimized(), world.programEnded(), shown});
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
        Form1 &form = world.start();
        const int unrolled = form.height();
        QVERIFY(!form.Label7->isHidden() && form.Label3->isHidden());
        QCOMPARE(form.Label3->geometry(), form.Label7->geometry());
        rollUp(form);
        const int rolledUp = form.height();
        QVERIFY(rolledUp < unrolled);
        // Rolled up, the whole title strip with its buttons is still there.
        for (QWidget *strip : std::initializer_list<QWidget *>{form.Label4, form.Label3, form.Label6, form.Label2})
            QVERIFY(strip->geometry().bottom() < form.height());
        minimizeInterface(form);
        restoreInterface(form);
        QCOMPARE(form.height(), rolledUp);
        QVERIFY(!form.Label3->isHidden());

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
