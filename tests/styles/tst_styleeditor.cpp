#include "platform/inifile.h"
#include "styletesting.h"
#include "support/files.h"
#include "support/filesizelimit.h"
#include "support/testregistry.h"

#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

const QString Blue = "blue";

// Files of the styles directory, hidden ones too (a scratch copy left behind).
QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Clicks "ok" on a save that must be refused: a box says why, and nothing is
// said or lost from the fields.
void expectRefused(TestWorld &world, MainWindow &form, StyleEditor &editor, const QString &reason)
{
    const QStringList typed = editorFields(editor);
    MessageBoxAnswer box;
    click(editor.okLabel);
    QVERIFY(box.seen());
    QCOMPARE(box.title(), QString("style"));
    QVERIFY2(box.text().contains(reason), qPrintable(box.text()));
    QCOMPARE(editorFields(editor), typed);
    QVERIFY(form.styleEditorLoaded() && editor.isVisible());
    QVERIFY(world.lines().isEmpty());
}

} // namespace

class StyleEditorTest : public QObject
{
    Q_OBJECT

private slots:
    // The first empty field is named; a name that is not a safe file name of
    // its own is refused.
    void refusedSaveWritesNothing_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("reason");
        const auto named = [](const QString &name) { return QStringList{name, "*", "FF0000", "0000FF"}; };
        QTest::newRow("all empty") << QStringList{"", "", "", ""} << "Please fill in the name of your style.";
        QTest::newRow("ascii empty, colours filled")
            << QStringList{"blue", "", "FF0000", "0000FF"} << "Please fill in the ascii of your style.";
        QTest::newRow("acolor empty") << QStringList{"blue", "*", "", "0000FF"}
                                      << "Please fill in the acolor of your style.";
        QTest::newRow("fcolor empty") << QStringList{"blue", "*", "FF0000", ""}
                                      << "Please fill in the fcolor of your style.";
        QTest::newRow("slash") << named("red/blue") << "name";
        QTest::newRow("climbing out") << named("../prefs") << "name";
        QTest::newRow("hidden") << named(".blue") << "name";
        QTest::newRow("nul") << named(QString("blue") + QChar(0) + "x") << "name";
        QTest::newRow("line break") << named("red\nblue") << "name";
        QTest::newRow("next line") << named(QString("red") + QChar(0x85) + "blue") << "name";
        QTest::newRow("too long") << named(QString(252, 'x')) << "name";
        QTest::newRow("too long in bytes") << named(QString(126, QChar(0xE9))) << "name";
    }

    void refusedSaveWritesNothing()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, reason);
        TestWorld world;
        MainWindow &form = world.make();
        StyleEditor &editor = openInstead(form, &MainWindow::styleEditor);
        fillEditor(editor, fields[0], fields[1], fields[2], fields[3]);
        expectRefused(world, form, editor, reason);
        QVERIFY(!QDir(stylesDir(world.home())).exists());
        QCOMPARE(QDir(world.home()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void savingAnExistingNameReplacesItsValues()
    {
        TestWorld world;
        MainWindow &form = world.make();
        writeStyleFile(world.home(), "blue.ini",
                       "; mine\n[Styles]\nSTYLE=blue\nASCII=old\nNOTE=kept\nACOLOR=111111\nFCOLOR=222222\n");
        writeStyleFile(world.home(), "other.ini", styleFileText("other", "o", "333333", "444444"));
        // A user's file, saved by root here, stays the user's.
        const QString file = stylesDir(world.home()) + "blue.ini";
        const QByteArray name = QFile::encodeName(file);
        QVERIFY(chown(name, 1234, 1234) == 0 || geteuid() != 0);
        QCOMPARE(chmod(name, 0640), 0);
        StyleEditor &editor = openInstead(form, &MainWindow::styleEditor);
        fillEditor(editor, Blue, "new", "AAAAAA", "BBBBBB");
        saveExpectingSuccess(editor);

        struct stat info {};
        QCOMPARE(stat(name, &info), 0);
        QCOMPARE(std::tuple(info.st_uid, info.st_gid, info.st_mode & 07777),
                 std::tuple(geteuid() == 0 ? 1234u : geteuid(), geteuid() == 0 ? 1234u : getegid(), 0640u));
        QStringList values;
        for (const char *key : {"ascii", "acolor", "fcolor", "note"})
            values << ReadIni("styles", key, file);
        QCOMPARE(values, QStringList({"new", "AAAAAA", "BBBBBB", "kept"}));
        QVERIFY(contents(file).startsWith("; mine\n"));
        QCOMPARE(entries(form.styleChooser().styleList), QStringList({Blue, "other"}));
    }

    void namesAndValuesAreKeptAsTyped_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ascii");
        QTest::addColumn<QString>("acolor");
        QTest::newRow("one space") << Blue << " " << "FF0000"; // a value like any other
        QTest::newRow("blanks") << " my  blue " << "  " << "FF0000";
        QTest::newRow("guillemet") << QString::fromUtf8("»blue«") << QString::fromUtf8("»") << "FF0000";
        // Without a closing tag: "/" cannot be in a file name.
        QTest::newRow("html") << "<b>bold & <i>co" << "<i>x</i>" << "FF0000";
        QTest::newRow("quotes and equals") << "\"a=b\"" << "\"q\"" << "FF0000";
        QTest::newRow("leading hash") << "hash" << "#" << "#FF0000";
        QTest::newRow("longest name") << QString(251, 'x') << "*" << "FF0000";
        QTest::newRow("longest name, two-byte letters") << QString(125, QChar(0xE9)) + "x" << "*" << "FF0000";
    }

    void namesAndValuesAreKeptAsTyped()
    {
        QFETCH(QString, name);
        QFETCH(QString, ascii);
        QFETCH(QString, acolor);
        TestWorld world;
        MainWindow &form = world.make();
        StyleEditor &editor = openInstead(form, &MainWindow::styleEditor);
        fillEditor(editor, name, ascii, acolor, "0000FF");
        saveExpectingSuccess(editor);

        QCOMPARE(world.userLines(), QStringList{TestWorld::styled("<b>style</b> " + name + " saved")});
        QCOMPARE(filesIn(stylesDir(world.home())), QStringList{name + ".ini"});
        if (name == Blue)
            QCOMPARE(contents(stylesDir(world.home()) + "blue.ini"),
                     QByteArray("[styles]\nSTYLE=blue\nASCII=\" \"\nACOLOR=FF0000\nFCOLOR=0000FF\n"));
        StyleChooser &chooser = form.styleChooser();
        QVERIFY(!form.isVisible() && chooser.isVisible());
        QCOMPARE(entries(chooser.styleList), QStringList{name});
        clickEntry(chooser.styleList, 0);
        QCOMPARE(chooser.asciiBox->text(), ascii);
        QCOMPARE(chooser.acolorBox->text(), acolor);
        QCOMPARE(chooser.fcolorBox->text(), QString("0000FF"));
        // Unloaded: the next opening starts empty.
        QCOMPARE(editorFields(openInstead(form, &MainWindow::styleEditor)), QStringList({"", "", "", ""}));
    }

    // The styles directory is a file, or the disk fills up over a style
    // saved before, which is left as it was.
    void failedSaveIsReportedAndLeavesNoHalfStyle()
    {
        for (const bool diskFull : {false, true}) {
            TestWorld world;
            MainWindow &form = world.make();
            const QByteArray old = styleFileText(Blue, "a", "111111", "222222");
            if (diskFull)
                writeStyleFile(world.home(), "blue.ini", old);
            else
                QVERIFY(QFile(world.home() + "/styles").open(QIODevice::WriteOnly));
            StyleEditor &editor = openInstead(form, &MainWindow::styleEditor);
            // A long decoration: the name fits under the limit, the rest does not.
            fillEditor(editor, Blue, QString(100, '*'), "FF0000", "0000FF");
            {
                std::optional<FileSizeLimit> limit;
                if (diskFull)
                    limit.emplace(60);
                expectRefused(world, form, editor, "could not be saved");
            }
            if (diskFull) {
                QCOMPARE(filesIn(stylesDir(world.home())), QStringList{"blue.ini"});
                QCOMPARE(contents(stylesDir(world.home()) + "blue.ini"), old);
            }
        }
    }
};

DUN2_TEST(StyleEditorTest);
#include "tst_styleeditor.moc"
