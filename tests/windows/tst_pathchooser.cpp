#include "app/mainwindow.h"
#include "platform/clicklabel.h"
#include "platform/directorylistbox.h"
#include "platform/filelistbox.h"
#include "platform/filename.h"
#include "platform/foldertree.h"
#include "platform/twips.h"
#include "support/testregistry.h"
#include "support/world.h"
#include "windows/pathchooser.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The path chooser starts where the process is: a test makes a folder, goes
// in, and at the end leaves it under a name its temporary home can remove
// (Qt's own removal cannot name a folder whose name is not UTF-8).
class WorkingDirectory
{
public:
    explicit WorkingDirectory(const QByteArray &path) : m_path(path), m_before(QFile::encodeName(QDir::currentPath()))
    {
        QVERIFY(mkdir(path.constData(), 0755) == 0 || errno == EEXIST);
        QVERIFY(chdir(path.constData()) == 0);
    }
    ~WorkingDirectory()
    {
        QVERIFY(chdir(m_before.constData()) == 0);
        QVERIFY(rename(m_path.constData(), (m_path + ".left").constData()) == 0);
    }

private:
    QByteArray m_path, m_before;
};

void touch(const QByteArray &path)
{
    QVERIFY(close(creat(path.constData(), 0644)) == 0);
}

FolderTree *treeOf(DirectoryListBox *box)
{
    return static_cast<FolderTree *>(box->model());
}

// The folders the tree lists in a folder, as shown.
QStringList listed(DirectoryListBox *box, const QString &folder)
{
    const QModelIndex parent = treeOf(box)->entry(QFile::encodeName(folder));
    QStringList names;
    for (int row = 0; parent.isValid() && row < treeOf(box)->rowCount(parent); ++row)
        names << treeOf(box)->index(row, 0, parent).data().toString();
    return names;
}

// Where a folder's entry is in the tree, once the tree has read its parent.
QPoint entryCentre(DirectoryListBox *box, const QString &path)
{
    const QModelIndex index = treeOf(box)->entry(QFile::encodeName(path));
    box->scrollTo(index);
    return box->visualRect(index).center();
}

} // namespace

class PathChooserTest : public QObject
{
    Q_OBJECT

private slots:
    void firstStartSetsTheWorkingDirectory_data()
    {
        QTest::addColumn<QByteArray>("folder"); // as on disk
        QTest::addColumn<QString>("readable");
        QTest::addColumn<QString>("shown"); // in the announcement, as HTML
        QTest::newRow("plain") << QByteArray("songs") << "songs" << "songs";
        QTest::newRow("a name that looks like HTML") << QByteArray("r&b <live>") << "r&b <live>" << "r&amp;b &lt;live&gt;";
        QTest::newRow("Latin-1, not UTF-8") << QByteArray("Caf\xe9") << "Café" << "Café";
    }

    void firstStartSetsTheWorkingDirectory()
    {
        QFETCH(QByteArray, folder);
        QFETCH(QString, readable);
        QFETCH(QString, shown);
        TestWorld world;
        const QByteArray dir = QFile::encodeName(world.home()) + "/" + folder;
        WorkingDirectory here(dir);
        touch(dir + "/b.mp3");
        touch(dir + "/A.mp3");

        Form1 &form = world.start(QString("joe"));
        Form2 &chooser = form.form2();
        QVERIFY(chooser.isVisible());
        QVERIFY(!form.isVisible());
        QVERIFY(chooser.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(encodeFileName(chooser.Dir1->path()), dir);
        QCOMPARE(chooser.pos(), QPoint(twipsToPixelsX(5000, &chooser), twipsToPixelsY(5000, &chooser)));
        // Once the folders above it are read, the current one is in view.
        FolderTree *tree = treeOf(chooser.Dir1);
        const QModelIndex current = tree->entry(dir);
        QCOMPARE(current.data().toString(), readable);
        QTRY_VERIFY(!tree->reading() && listed(chooser.Dir1, "/").size() > 1
                    && chooser.Dir1->viewport()->rect().contains(chooser.Dir1->visualRect(current).center()));
        // The main window's style is not the path chooser's.
        form.style.fascii = "~~ ";
        form.style.co1 = "<font color=#00FF00>";
        world.clearLines();

        QTest::mouseClick(chooser.Label1, Qt::LeftButton);
        QCOMPARE(encodeFileName(form.mpath), dir);
        QCOMPARE(chooser.mpath, form.mpath);
        QCOMPARE(form.path->text(), world.home() + "/" + readable);
        QCOMPARE(form.File1->path(), form.mpath);
        QCOMPARE(form.File1->entries(), QStringList({"A.mp3", "b.mp3"}));
        QCOMPARE(world.userLines(), QStringList{TestWorld::styled("joe set path to " + world.home() + "/" + shown)});
        QFile prefs(world.preferencesPath());
        QVERIFY(prefs.open(QIODevice::ReadOnly));
        QCOMPARE(prefs.readAll(), "[iNfO]\nHANDLE=joe\nMP3 PATH=" + dir + "\n");
        QVERIFY(form.isVisible());
        QVERIFY(!chooser.isVisible());
    }

    // Folders only, read when opened and while shown: no file is opened (a
    // FIFO would block), and what changed while hidden shows once shown.
    void readsFoldersWhenOpenedAndShown()
    {
        TestWorld world;
        const QString rock = world.musicDir() + "/rock";
        QVERIFY(QDir().mkpath(rock + "/live"));
        QVERIFY(QDir().mkpath(world.musicDir() + "/.hidden"));
        touch(QFile::encodeName(rock + "/song.mp3"));
        touch(QFile::encodeName(world.musicDir() + "/elsewhere.mp3"));
        QVERIFY(mkfifo(QFile::encodeName(world.musicDir() + "/fifo").constData(), 0644) == 0);
        WorkingDirectory here(QFile::encodeName(world.musicDir()));
        Form1 &form = world.start(QString("joe"));
        DirectoryListBox *tree = form.form2().Dir1;
        QWidget *view = tree->viewport();

        QTRY_COMPARE(listed(tree, world.musicDir()), QStringList{"rock"});
        QVERIFY(!treeOf(tree)->reading());
        QCOMPARE(listed(tree, rock), QStringList()); // not opened yet
        QTest::mouseClick(view, Qt::LeftButton, {}, entryCentre(tree, rock));
        QCOMPARE(tree->path(), world.musicDir());

        const QPoint at = entryCentre(tree, rock);
        QTest::mouseClick(view, Qt::LeftButton, {}, at);
        QTest::mouseDClick(view, Qt::LeftButton, {}, at);
        QTest::mouseRelease(view, Qt::LeftButton, {}, at);
        QCOMPARE(tree->path(), rock);
        QTRY_COMPARE(listed(tree, rock), QStringList{"live"});

        QTest::mouseClick(form.form2().Label1, Qt::LeftButton);
        QCOMPARE(form.File1->path(), rock);
        QCOMPARE(form.File1->entries(), QStringList{"song.mp3"});

        QVERIFY(QDir().mkpath(rock + "/studio"));
        world.settle();
        QCOMPARE(listed(tree, rock), QStringList{"live"});
        // Shown again later, it is where the user left it, and up to date.
        form.form2().show();
        QCOMPARE(form.form2().Dir1->path(), rock);
        QTRY_COMPARE(listed(tree, rock), QStringList({"live", "studio"}));
    }
};

DUN2_TEST(PathChooserTest);
#include "tst_pathchooser.moc"
