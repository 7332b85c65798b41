#include "chat/announcement.h"
#include "styletesting.h"
#include "support/testregistry.h"

#include <QApplication>
#include <QTimer>

namespace {

const QString Guillemet = QString::fromUtf8("»");

// A started program with one style saved through the editor, and the
// chooser open on it.
struct ChooserWorld {
    TestWorld world;
    MainWindow *form = nullptr;
    StyleChooser *chooser = nullptr;

    ChooserWorld()
    {
        world.writePreferences(world.musicDir(), "Ann");
        form = &world.start();
        StyleEditor &editor = openInstead(*form, &MainWindow::styleEditor);
        fillEditor(editor, "blue", Guillemet, "FF0000", "0000FF");
        saveExpectingSuccess(editor);
        chooser = &form->styleChooser();
        world.clearLines();
    }
};

} // namespace

class StyleChooserTest : public QObject
{
    Q_OBJECT

private slots:
    void listHoldsEachStyleNameOnceInFileOrder()
    {
        TestWorld world;
        // Files that are no style files each give an empty entry, and all of them one.
        const std::pair<const char *, QByteArray> files[] = {
            {"b.ini", "[styles]\nSTYLE=red\n"},
            {"A.ini", "[styles]\nSTYLE=blue\n"},
            {"copy of blue.ini", "[styles]\nSTYLE=blue\nASCII=+\n"},
            {"Case.ini", "[styles]\nSTYLE=Blue\n"},
            {"upper.txt", "[STYLES]\nstyle = green\n"},
            {"late.ini", "[other]\nSTYLE=no\n[styles]\nSTYLE=late\n[styles]\nSTYLE=ignored\n"},
            {"notes", "just some words\n"},
            {"empty.ini", ""},
            {"legacy.ini", "[styles]\r\nSTYLE=caf\xE9\r\n"}, // Windows-1252
            {".hidden", "[styles]\nSTYLE=hidden\n"},
        };
        for (const auto &[name, text] : files)
            writeStyleFile(world.home(), name, text);
        QVERIFY(QDir().mkpath(stylesDir(world.home()) + "folder.ini"));
        StyleChooser &chooser = openInstead(world.make(), &MainWindow::styleChooser);
        QVERIFY(chooser.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        // In file-name order: A b Case copy empty late legacy notes upper.
        QCOMPARE(entries(chooser.styleList),
                 QStringList({"blue", "red", "Blue", "", "late", QString::fromUtf8("café"), "green"}));
    }

    void clickShowsTheValuesOfTheListedName()
    {
        ChooserWorld w;
        // The file of "orphan" is not orphan.ini: nothing to show.
        writeStyleFile(w.world.home(), "x.ini", styleFileText("orphan", "*", "FF0000", "000000"));
        // Named in Latin-1 on an old machine: no typed name gives its file,
        // but it is the file its entry reads, also after a duplicate before it went.
        writeStyleFile(w.world.home(), "b0.ini", styleFileText("blue", "0", "0", "0"));
        writeStyleFile(w.world.home(), decodeFileName("caf\xE9.ini"), "[styles]\nSTYLE=caf\xE9\nASCII=~\nACOLOR=1\n");
        w.chooser->rebuildStyleList();
        QCOMPARE(entries(w.chooser->styleList), QStringList({"blue", "café", "orphan"}));
        clickEntry(w.chooser->styleList, 1);
        QCOMPARE(QStringList({w.chooser->asciiBox->text(), w.chooser->acolorBox->text()}), QStringList({"~", "1"}));
        clickEntry(w.chooser->styleList, 2);
        QCOMPARE(QStringList({w.chooser->asciiBox->text(), w.chooser->acolorBox->text(), w.chooser->fcolorBox->text()}),
                 QStringList({"", "", ""}));
        QVERIFY(w.world.lines().isEmpty());
    }

    void okAppliesTheStyleAndConfirmsIt()
    {
        ChooserWorld w;
        MainWindow &form = *w.form;
        writeStyleFile(w.world.home(), "red.ini", styleFileText("red", "*", "FF0000", "000000"));
        w.chooser->rebuildStyleList();
        clickEntry(w.chooser->styleList, 0);
        // The wait before the confirmation keeps the room and the window
        // going; the line names the entry selected when it goes out.
        duringNextWait([&] {
            w.world.sayAs("bob", "hi");
            clickEntry(w.chooser->styleList, 1);
        });
        click(w.chooser->okLabel);

        const StylePieces initial = StylePieces::initial();
        QCOMPARE(w.world.lines(), QStringList({"hi", Guillemet + "<font color=#0000FF> selected red"}));
        QVERIFY(!w.chooser->isVisible());
        QVERIFY(form.isVisible());

        // The main window's next line is in the style chosen, and ends right
        // after its message.
        w.world.clearLines();
        click(control<ClickLabel>(form, "closeLabel"));
        QCOMPARE(w.world.userLines(), QStringList{initial.reset + "<font color=#FF0000>" + Guillemet +
                                                  "<font color=#0000FF>" + initial.messageFace +
                                                  QString::fromUtf8("Ðûñ² unløªded ")});
    }

    // Before any click "ok" applies empty boxes. "back" changes no piece,
    // even with other values in the boxes, "reset" brings back the initial
    // style; neither says anything, and the boxes keep their values.
    void okBeforeAnyClickThenBackAndReset()
    {
        ChooserWorld w;
        // Focus makes an entry current without anyone clicking it.
        QApplication::setActiveWindow(w.chooser);
        w.chooser->styleList->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(w.chooser->styleList->currentRow(), 0);
        click(w.chooser->okLabel);
        QCOMPARE(w.form->program().settings.style.frontColour, QString("<font color=#>"));
        QCOMPARE(w.world.lines(), QStringList{"<font color=#> selected "});
        const StylePieces chosen = w.form->program().settings.style;
        w.chooser->show();
        clickEntry(w.chooser->styleList, 0);
        w.world.clearLines();
        for (const auto &[button, expected] :
             {std::pair(w.chooser->backLabel, chosen), std::pair(w.chooser->resetLabel, StylePieces::initial())}) {
            w.form->hide();
            w.chooser->show();
            click(button);
            QCOMPARE(w.form->program().settings.style, expected);
            QVERIFY(!w.chooser->isVisible() && w.form->isVisible());
        }
        QCOMPARE(w.chooser->asciiBox->text(), Guillemet);
        QVERIFY(w.world.waitUntilHandled());
        QVERIFY(w.world.lines().isEmpty());
    }
};

DUN2_TEST(StyleChooserTest);
#include "tst_stylechooser.moc"
