#include "app/interfacestate.h"
#include "app/mainwindow.h"
#include "app/tray.h"
#include "platform/clicklabel.h"
#include "platform/twips.h"
#include "support/testregistry.h"
#include "support/world.h"
#include "windows/pathchooser.h"

#include <QTest>
#include <functional>

namespace {

// What the window looked like when an announcement reached the room.
struct Seen {
    int height = -1;
    bool rollDownShown = false;
    bool minimized = false;
    bool ended = false;
    bool mainShown = false;
    bool pathChooserShown = false;
};

class Watcher
{
public:
    Watcher(TestWorld &world, Form1 &form)
    {
        QObject::connect(&world.client(), &ChatClient::lineReceived, &form, [&world, &form, this] {
            seen.push_back({form.height(), !form.Label3->isHidden(), form.isMinimized(), world.programEnded(),
                            form.isVisible(), form.form2Loaded() && form.form2().isVisible()});
        });
    }
    std::vector<Seen> seen;
};

} // namespace

class InterfaceStateTest : public QObject
{
    Q_OBJECT

private slots:
    void rollClicksSetTheHeightAnnounceAndSwapTheGlyphs()
    {
        TestWorld world;
        world.writePreferences(world.musicDir(), "Ann");
        Form1 &form = world.start();
        QCOMPARE(form.height(), twipsToPixelsY(3975, &form));
        QVERIFY(!form.Label7->isHidden());
        QVERIFY(form.Label3->isHidden());
        QCOMPARE(form.Label3->geometry(), form.Label7->geometry());

        struct Step {
            bool up;
            int twips;
            const char *line;
        };
        const Step steps[] = {{true, 250, "<b>iface</b> rolled up"},
                              {false, 3945, "<b>iface</b> rolled down"}};
        Watcher watcher(world, form);
        world.clearLines();
        for (const Step &step : steps) {
            ClickLabel *glyph = step.up ? form.Label7 : form.Label3;
            QVERIFY2(!glyph->isHidden(), step.line);
            QTest::mouseClick(glyph, Qt::LeftButton);
            const int pixels = twipsToPixelsY(step.twips, &form);
            QCOMPARE(form.height(), pixels);
            QCOMPARE(world.userLines().last(), TestWorld::styled(step.line));
            // The height changed before the line went out, the glyphs after.
            QCOMPARE(watcher.seen.back().height, pixels);
            QCOMPARE(watcher.seen.back().rollDownShown, !step.up);
            QCOMPARE(form.Label3->isHidden(), !step.up);
            QCOMPARE(form.Label7->isHidden(), step.up);
        }
        // Rolled up, the whole title strip with its buttons is still there.
        for (QWidget *strip : {static_cast<QWidget *>(form.Label4), static_cast<QWidget *>(form.Label3),
                               static_cast<QWidget *>(form.Label6), static_cast<QWidget *>(form.Label2)})
            QVERIFY(strip->geometry().bottom() < form.height());
    }

    void announcementAndWindowChangesComeInOrder()
    {
        struct Case {
            const char *name;
            std::function<void(Form1 &)> before;
            std::function<void(Form1 &)> act;
            std::function<bool(const Seen &)> probe;
            std::function<bool(TestWorld &, Form1 &)> after;
            const char *line;
        };
        const Case cases[] = {
            {"minimise label", {}, [](Form1 &f) { QTest::mouseClick(f.Label6, Qt::LeftButton); },
             [](const Seen &s) { return s.minimized; }, [](TestWorld &, Form1 &f) { return f.isMinimized(); },
             "<b>iface</b> minimized "},
            {"max", [](Form1 &f) { minimizeInterface(f); }, [](Form1 &f) { restoreInterface(f); },
             [](const Seen &s) { return !s.minimized; },
             [](TestWorld &, Form1 &f) { return !f.isMinimized() && !f.isMaximized() && f.isVisible(); },
             "<b>iface</b> maximized "},
            {"close label", {}, [](Form1 &f) { QTest::mouseClick(f.Label2, Qt::LeftButton); },
             [](const Seen &s) { return s.ended; }, [](TestWorld &w, Form1 &) { return w.programEnded(); },
             "Ðûñ² unløªded "},
            // The other way round: the path chooser is up before it is announced.
            {"new path", {}, [](Form1 &f) { QTest::mouseClick(f.Label5, Qt::LeftButton); },
             [](const Seen &s) { return !s.pathChooserShown || s.mainShown; },
             [](TestWorld &, Form1 &f) { return f.form2().isVisible(); }, "searching for path "},
        };
        for (const Case &c : cases) {
            TestWorld world;
            world.writePreferences(world.musicDir(), "Ann");
            Form1 &form = world.start();
            if (c.before)
                c.before(form);
            Watcher watcher(world, form);
            world.clearLines();
            c.act(form);
            QVERIFY2(world.userLines() == QStringList{TestWorld::styled(QString::fromUtf8(c.line))}, c.name);
            QVERIFY2(!c.probe(watcher.seen.front()), c.name);
            QVERIFY2(c.after(world, form), c.name);
        }
    }

    void statesAreIndependentAndHiddenStaysHidden()
    {
        TestWorld world;
        world.writePreferences(world.musicDir(), "Ann");
        Form1 &form = world.start();
        rollUp(form);
        minimizeInterface(form);
        restoreInterface(form);
        QCOMPARE(form.height(), twipsToPixelsY(RolledUpTwips, &form));
        QVERIFY(!form.Label3->isHidden());

        // Hidden, the window is reached through the tray icon alone.
        QVERIFY(form.windowIcon().availableSizes().contains(QSize(32, 32)));
        hideInterface(form);
        QVERIFY(trayIconAdded());
        QCOMPARE(trayRecord().window, form.winId());
        QCOMPARE(trayRecord().icon, form.windowIcon().cacheKey());
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
