#include "app/inifile.h"
#include "app/mainwindow.h"
#include "platform/clicklabel.h"
#include "styletesting.h"
#include "support/testregistry.h"
#include "support/world.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

const QString Blue = "blue";

// Files of the styles directory, hidden ones too (a scratch copy left behind).
QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Lets files in this process grow to `bytes` only; a longer write fails
// instead of raising SIGXFSZ.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

class StyleEditorTest : public QObject
{
    Q_OBJECT

private slots:
    void firstEmptyFieldIsNamed_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("message");
        QTest::newRow("all empty") << QStringList{"", "", "", ""} << "Please fill in the name of your style.";
        QTest::newRow("name only") << QStringList{"blue", "", "", ""} << "Please fill in the ascii of your style.";
        QTest::newRow("ascii empty, colours filled")
            << QStringList{"blue", "", "FF0000", "0000FF"} << "Please fill in the ascii of your style.";
        QTest::newRow("acolor empty") << QStringList{"blue", "*", "", "0000FF"}
                                      << "Please fill in the acolor of your style.";
        QTest::newRow("fcolor empty") << QStringList{"blue", "*", "FF0000", ""}
                                      << "Please fill in the fcolor of your style.";
    }

    void firstEmptyFieldIsNamed()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, message);
        TestWorld world;
        Form1 &form = world.make();
        Form6 &editor = openEditor(form);
        fillEditor(editor, fields[0], fields[1], fields[2], fields[3]);

        MessageBoxAnswer box;
        click(editor.Label6);
        QVERIFY(box.seen());
        QCOMPARE(box.title(), QString("style"));
        QCOMPARE(box.text(), message);
        QCOMPARE(editorFields(editor), fields);
        QVERIFY(form.form6Loaded() && editor.isVisible());
        QVERIFY(!QDir(stylesDir(world.home())).exists());
        QVERIFY(world.lines().isEmpty());
    }

    void savedStyleIsAnnouncedAndShownInTheChooser()
    {
        TestWorld world;
        Form1 &form = world.make();
        Form6 &editor = openEditor(form);
        // One space is a value like any other.
        fillEditor(editor, Blue, " ", "FF0000", "0000FF");
        saveExpectingSuccess(editor);

        QCOMPARE(world.userLines(), QStringList{TestWorld::styled("<b>style</b> blue saved")});
        const QString file = stylesDir(world.home()) + "blue.ini";
        QCOMPARE(contents(file), QByteArray("[styles]\nSTYLE=blue\nASCII=\" \"\nACOLOR=FF0000\nFCOLOR=0000FF\n"));
        QCOMPARE(filesIn(stylesDir(world.home())), QStringList{"blue.ini"});
        QVERIFY(!form.form6Loaded());
        QVERIFY(!form.isVisible());
        Form4 &chooser = form.form4();
        QVERIFY(chooser.isVisible());
        QCOMPARE(entries(chooser.List1), QStringList{Blue});
        clickEntry(chooser.List1, 0);
        QCOMPARE(chooser.Text1->text(), QString(" "));
        QCOMPARE(chooser.Text2->text(), QString("FF0000"));
        QCOMPARE(chooser.text3->text(), QString("0000FF"));

        // Unloaded: the next opening starts empty.
        QCOMPARE(editorFields(openEditor(form)), QStringList({"", "", "", ""}));
    }

    void savingAnExistingNameReplacesItsValues()
    {
        TestWorld world;
        Form1 &form = world.make();
        writeStyleFile(world.home(), "blue.ini",
                       "; mine\n[Styles]\nSTYLE=blue\nASCII=old\nNOTE=kept\nACOLOR=111111\nFCOLOR=222222\n");
        writeStyleFile(world.home(), "other.ini", styleFileText("other", "o", "333333", "444444"));
        Form6 &editor = openEditor(form);
        fillEditor(editor, Blue, "new", "AAAAAA", "BBBBBB");
        saveExpectingSuccess(editor);

        const QString file = stylesDir(world.home()) + "blue.ini";
        QCOMPARE(ReadIni("styles", "ascii", file), QString("new"));
        QCOMPARE(ReadIni("styles", "acolor", file), QString("AAAAAA"));
        QCOMPARE(ReadIni("styles", "fcolor", file), QString("BBBBBB"));
        QCOMPARE(ReadIni("styles", "note", file), QString("kept"));
        QVERIFY(contents(file).startsWith("; mine\n"));
        QCOMPARE(entries(form.form4().List1), QStringList({Blue, "other"}));
    }

    void backEmptiesTheFieldsAndKeepsTheEditor()
    {
        TestWorld world;
        Form1 &form = world.make();
        Form6 &editor = openEditor(form);
        fillEditor(editor, Blue, "*", "FF0000", "0000FF");
        click(editor.Label7);
        QCOMPARE(editorFields(editor), QStringList({"", "", "", ""}));
        QVERIFY(form.isVisible());
        QVERIFY(!editor.isVisible());
        QVERIFY(form.form6Loaded());
        QVERIFY(!form.form4Loaded());
        QVERIFY(!QDir(stylesDir(world.home())).exists());
        QVERIFY(world.lines().isEmpty());
    }

    void namesAndValuesAreKeptAsTyped_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ascii");
        QTest::addColumn<QString>("acolor");
        QTest::newRow("spaces") << "my  cool style" << "~*~" << "FF0000";
        QTest::newRow("blanks at the ends") << " blue " << "  " << "FF0000";
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
        Form1 &form = world.make();
        Form6 &editor = openEditor(form);
        fillEditor(editor, name, ascii, acolor, "0000FF");
        saveExpectingSuccess(editor);

        QCOMPARE(world.userLines(), QStringList{TestWorld::styled("<b>style</b> " + name + " saved")});
        Form4 &chooser = form.form4();
        QCOMPARE(entries(chooser.List1), QStringList{name});
        clickEntry(chooser.List1, 0);
        QCOMPARE(chooser.Text1->text(), ascii);
        QCOMPARE(chooser.Text2->text(), acolor);
        QCOMPARE(chooser.text3->text(), QString("0000FF"));
        click(chooser.Label1);
        QCOMPARE(form.style.fcolor, "<font color=#" + acolor + ">");
    }

    void unsafeNamesAreRefusedBeforeAnythingIsWritten_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("slash") << "red/blue";
        QTest::newRow("closing tag") << "<b>red</b>";
        QTest::newRow("dot") << ".";
        QTest::newRow("dot dot") << "..";
        QTest::newRow("climbing out") << "../prefs";
        QTest::newRow("hidden") << ".blue";
        QTest::newRow("nul") << QString("blue") + QChar(0) + "x";
        QTest::newRow("too long") << QString(252, 'x');
        QTest::newRow("too long in bytes") << QString(126, QChar(0xE9));
    }

    void unsafeNamesAreRefusedBeforeAnythingIsWritten()
    {
        QFETCH(QString, name);
        TestWorld world;
        Form1 &form = world.make();
        Form6 &editor = openEditor(form);
        fillEditor(editor, name, "*", "FF0000", "0000FF");

        MessageBoxAnswer box;
        click(editor.Label6);
        QVERIFY(box.seen());
        QCOMPARE(box.title(), QString("style"));
        QVERIFY(box.text().contains("name"));
        QCOMPARE(editorFields(editor), QStringList({name, "*", "FF0000", "0000FF"}));
        QVERIFY(form.form6Loaded() && editor.isVisible());
        QVERIFY(!QDir(stylesDir(world.home())).exists());
        QCOMPARE(QDir(world.home()).entryList(QDir::Files | QDir::Hidden), QStringList());
        QVERIFY(world.lines().isEmpty());
    }

    void failedSaveIsReportedAndLeavesNoHalfStyle_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::newRow("styles is a file") << "file";
        QTest::newRow("disk full, new style") << "limit";
        QTest::newRow("disk full, existing style") << "limit, existing";
    }

    void failedSaveIsReportedAndLeavesNoHalfStyle()
    {
        QFETCH(QString, setup);
        TestWorld world;
        Form1 &form = world.make();
        const QString dir = stylesDir(world.home());
        const QString file = dir + "blue.ini";
        const QByteArray old = styleFileText(Blue, "a", "111111", "222222");
        if (setup == "file") {
            QFile styles(world.home() + "/styles");
            QVERIFY(styles.open(QIODevice::WriteOnly));
        } else if (setup.contains("existing")) {
            writeStyleFile(world.home(), "blue.ini", old);
        } else {
            QVERIFY(QDir().mkpath(dir));
        }
        Form6 &editor = openEditor(form);
        // A long decoration: the name fits under the limit, the rest does not.
        const QString ascii(100, '*');
        fillEditor(editor, Blue, ascii, "FF0000", "0000FF");

        MessageBoxAnswer box;
        {
            std::optional<FileSizeLimit> limit;
            if (setup.startsWith("limit"))
                limit.emplace(60);
            click(editor.Label6);
        }
        QVERIFY(box.seen());
        QCOMPARE(box.title(), QString("style"));
        QVERIFY(box.text().contains("could not be saved"));
        QVERIFY(world.lines().isEmpty());
        QCOMPARE(editorFields(editor), QStringList({Blue, ascii, "FF0000", "0000FF"}));
        QVERIFY(form.form6Loaded() && editor.isVisible());
        if (setup == "file")
            return;
        if (setup == "limit") {
            QCOMPARE(filesIn(dir), QStringList());
        } else {
            QCOMPARE(filesIn(dir), QStringList{"blue.ini"});
            QCOMPARE(contents(file), old);
        }
    }
};

DUN2_TEST(StyleEditorTest);
#include "tst_styleeditor.moc"
