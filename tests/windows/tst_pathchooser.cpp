#include "app/inifile.h"
#include "app/mainwindow.h"
#include "platform/clicklabel.h"
#include "platform/directorylistbox.h"
#include "platform/filelistbox.h"
#include "platform/twips.h"
#include "support/testregistry.h"
#include "support/world.h"
#include "windows/pathchooser.h"

#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTest>

namespace {

// The path chooser starts where the process is; tests move it and back.
class WorkingDirectory
{
public:
    explicit WorkingDirectory(const QString &path) : m_before(QDir::currentPath()) { QDir::setCurrent(path); }
    ~WorkingDirectory() { QDir::setCurrent(m_before); }

private:
    QString m_before;
};

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

// Where a folder's entry is in the tree, once the tree has read its parent.
QPoint entryCentre(DirectoryListBox *tree, const QString &path)
{
    auto *model = static_cast<QFileSystemModel *>(tree->model());
    const QModelIndex index = model->index(path);
    tree->scrollTo(index);
    return tree->visualRect(index).center();
}

} // namespace

class PathChooserTest : public QObject
{
    Q_OBJECT

private slots:
    void firstStartSetsTheWorkingDirectory_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("shown"); // in the announcement, as HTML
        QTest::newRow("plain") << "music" << "music";
        QTest::newRow("a name that looks like HTML") << "r&b <live>" << "r&amp;b &lt;live&gt;";
    }

    void firstStartSetsTheWorkingDirectory()
    {
        QFETCH(QString, folder);
        QFETCH(QString, shown);
        TestWorld world;
        const QString dir = world.home() + "/" + folder;
        QVERIFY(QDir().mkpath(dir));
        touch(dir + "/b.mp3");
        touch(dir + "/A.mp3");
        WorkingDirectory here(dir);

        Form1 &form = world.start(QString("joe"));
        Form2 &chooser = form.form2();
        QVERIFY(chooser.isVisible());
        QVERIFY(!form.isVisible());
        QVERIFY(chooser.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(chooser.Dir1->path(), dir);
        QCOMPARE(chooser.pos(), QPoint(twipsToPixelsX(5000, &chooser), twipsToPixelsY(5000, &chooser)));
        // Once the folders above it are read, the current one is in view.
        auto *model = static_cast<QFileSystemModel *>(chooser.Dir1->model());
        QTRY_VERIFY(model->rowCount(model->index("/")) > 1 && model->rowCount(model->index(QDir::tempPath())) > 1
                    && chooser.Dir1->viewport()->rect().contains(
                        chooser.Dir1->visualRect(model->index(dir)).center()));
        // The main window's style is not the path chooser's.
        form.style.fascii = "~~ ";
        form.style.co1 = "<font color=#00FF00>";
        world.clearLines();

        QTest::mouseClick(chooser.Label1, Qt::LeftButton);
        QCOMPARE(form.mpath, dir);
        QCOMPARE(chooser.mpath, dir);
        QCOMPARE(form.path->text(), dir);
        QCOMPARE(form.File1->path(), dir);
        QCOMPARE(form.File1->entries(), QStringList({"A.mp3", "b.mp3"}));
        QCOMPARE(world.userLines(), QStringList{TestWorld::styled("joe set path to " + world.home() + "/" + shown)});
        QFile prefs(world.preferencesPath());
        QVERIFY(prefs.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(prefs.readAll()), "[iNfO]\nHANDLE=joe\nMP3 PATH=" + dir + "\n");
        QCOMPARE(ReadIni("info", "mp3 path", world.preferencesPath()), dir); // what the next start reads
        QVERIFY(form.isVisible());
        QVERIFY(!chooser.isVisible());
    }

    void doubleClickOpensAFolderAndAClickOnlyHighlights()
    {
        TestWorld world;
        const QString rock = world.musicDir() + "/rock";
        QVERIFY(QDir().mkpath(rock + "/live"));
        touch(rock + "/song.mp3");
        touch(world.musicDir() + "/elsewhere.mp3");
        WorkingDirectory here(world.musicDir());
        Form1 &form = world.start(QString("joe"));
        DirectoryListBox *tree = form.form2().Dir1;
        QWidget *view = tree->viewport();

        // The tree reads folders in the background.
        QTRY_VERIFY(!entryCentre(tree, rock).isNull());
        QTest::mouseClick(view, Qt::LeftButton, {}, entryCentre(tree, rock));
        QCOMPARE(tree->path(), world.musicDir());

        const QPoint at = entryCentre(tree, rock);
        QTest::mouseClick(view, Qt::LeftButton, {}, at);
        QTest::mouseDClick(view, Qt::LeftButton, {}, at);
        QTest::mouseRelease(view, Qt::LeftButton, {}, at);
        QCOMPARE(tree->path(), rock);
        // Opened: its own folders show.
        QTRY_VERIFY(!entryCentre(tree, rock + "/live").isNull());

        QTest::mouseClick(form.form2().Label1, Qt::LeftButton);
        QCOMPARE(form.File1->path(), rock);
        QCOMPARE(form.File1->entries(), QStringList{"song.mp3"});

        // Shown again later, it is where the user left it.
        form.form2().show();
        QCOMPARE(form.form2().Dir1->path(), rock);
    }
};

DUN2_TEST(PathChooserTest);
#include "tst_pathchooser.moc"
