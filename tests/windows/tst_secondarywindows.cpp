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
#include "windows/songpicker.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

Form1 &startMain(TestWorld &world)
{
    world.writePreferences(world.musicDir(), "Ann");
    return world.start();
}

} // namespace

class SecondaryWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void commandListShowsTheCommandLines()
    {
        TestWorld world;
        Form1 &form = startMain(world);
        const QListWidget *list = form.form8().List1;
        QCOMPARE(list->count(), 44);
        const std::pair<int, const char *> lines[] = {
            {1, "coms - view coms"},
            {4, "about - about Ðûñ² "},
            {11, "p * - play song \"*\" can be partial"},
            {13, "create - create chatsend(style)"},
            {19, "vol * - set volume \"*\" from 1-100"},
            {37, "p * - play song \"*\" can be partial"},
            {39, ""},
            {40, "--2nd chatscan--"},
            {44, "cancel - cancel"},
        };
        for (auto [number, text] : lines)
            QCOMPARE(list->item(number - 1)->text(), QString::fromUtf8(text));
    }

    void advSendsTwoLinesInTheMainStyleWithAPauseThatLetsLinesThrough()
    {
        TestWorld world;
        Form1 &form = startMain(world);
        form.style.fascii = "main ";
        showCommandList(form);
        world.clearLines();
        QElapsedTimer clock;
        std::vector<qint64> at;
        QObject::connect(&world.client(), &ChatClient::lineReceived, &form, [&] { at.push_back(clock.elapsed()); });
        QTimer::singleShot(100, &form, [&] { world.sayAs("bob", "hello"); });
        clock.start();
        QTest::mouseClick(form.form8().Label1, Qt::LeftButton);
        QCOMPARE(world.lines(), QStringList({form.style.styledLine(QString::fromUtf8(
                                                 "<b>Ð</b>û<b>ñ</b>² b<b>y</b>: Ð<b>û</b>ñ<b>net")),
                                             "hello", form.style.styledLine("<b>a</b>o<b>l</b> 7-9")}));
        QVERIFY(at[2] - at[0] >= 300);
        QVERIFY(form.form8().isVisible());
    }

    void advWithNoRoomSendsNothing()
    {
        TestWorld world;
        Form1 &form = startMain(world);
        world.client().closeRoom(world.room());
        world.clearLines();
        QTest::mouseClick(form.form8().Label1, Qt::LeftButton);
        QVERIFY(world.lines().isEmpty());
    }

    void commandsSwapTheWindowsInTheirOrder()
    {
        struct Case {
            const char *name;
            std::function<void(Form1 &)> command;
            std::function<QWidget &(Form1 &)> window;
            bool mainShownAtLine;
            bool windowShownAtLine;
            bool mainShownAfter;
            const char *line;
        };
        const auto about = [](Form1 &f) -> QWidget & { return f.form7(); };
        const auto coms = [](Form1 &f) -> QWidget & { return f.form8(); };
        const Case cases[] = {
            // In this order, each from where the one before left the windows.
            {"coms", showCommandList, coms, true, false, false, "<b>v</b>i<b>ewing</b> coms"},
            {"xcoms", closeCommandList, coms, true, false, true, "<b>c</b>l<b>osed</b> coms"},
            {"about", showAbout, about, false, true, false, "<b>about</b> Ðûñ²"},
        };
        TestWorld world;
        Form1 &form = startMain(world);
        bool mainShown = false, windowShown = false;
        const Case *current = nullptr;
        QObject::connect(&world.client(), &ChatClient::lineReceived, &form, [&] {
            mainShown = form.isVisible();
            windowShown = current->window(form).isVisible();
        });
        for (const Case &c : cases) {
            current = &c;
            world.clearLines();
            c.command(form);
            QVERIFY2(world.userLines() == QStringList{TestWorld::styled(QString::fromUtf8(c.line))}, c.name);
            QVERIFY2(mainShown == c.mainShownAtLine, c.name);
            QVERIFY2(windowShown == c.windowShownAtLine, c.name);
            QVERIFY2(form.isVisible() == c.mainShownAfter, c.name);
            QVERIFY2(c.window(form).isVisible() != c.mainShownAfter, c.name);
        }
    }

    void leavingShowsTheMainWindowEvenFromTheTray()
    {
        struct Case {
            const char *name;
            std::function<void(Form1 &)> open;
            std::function<QWidget &(Form1 &)> window;
            std::function<ClickLabel *(Form1 &)> leave;
        };
        const Case cases[] = {
            {"back", showCommandList, [](Form1 &f) -> QWidget & { return f.form8(); },
             [](Form1 &f) { return f.form8().Label5; }},
            {" x", showAbout, [](Form1 &f) -> QWidget & { return f.form7(); },
             [](Form1 &f) { return f.form7().Label2; }},
        };
        for (const Case &c : cases) {
            TestWorld world;
            Form1 &form = startMain(world);
            hideInterface(form);
            c.open(form);
            world.clearLines();
            QTest::mouseClick(c.leave(form), Qt::LeftButton);
            QVERIFY2(!c.window(form).isVisible(), c.name);
            QVERIFY2(form.isVisible(), c.name);
            QVERIFY2(trayIconAdded(), c.name);
            QVERIFY2(world.lines().isEmpty(), c.name);
            RemoveFromTray();
        }
    }

    void windowsPlaceThemselvesOnTopWhenTheyLoad()
    {
        TestWorld world;
        Form1 &form = startMain(world);
        for (QWidget *window : {static_cast<QWidget *>(&form.form3()), static_cast<QWidget *>(&form.form7()),
                                static_cast<QWidget *>(&form.form8())}) {
            window->show();
            QCOMPARE(window->pos(), QPoint(twipsToPixelsX(5000, window), twipsToPixelsY(5000, window)));
            QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            // Borderless: the only ways out are the window's own labels.
            QVERIFY(window->windowFlags().testFlag(Qt::FramelessWindowHint));
            window->hide();
        }
    }

    void aboutWindowHasItsPictureAndWords()
    {
        TestWorld world;
        Form1 &form = startMain(world);
        Form7 &about = form.form7();
        QCOMPARE(about.Image2->pixmap().size(), QSize(115, 48));
        QVERIFY(about.lblDescription->wordWrap());
        QVERIFY(about.lblDescription->text().contains("7 to 9"));
        QVERIFY(about.lblDescription->text().contains(QString::fromUtf8("Ðûñnet")));
    }
};

DUN2_TEST(SecondaryWindowsTest);
#include "tst_secondarywindows.moc"
