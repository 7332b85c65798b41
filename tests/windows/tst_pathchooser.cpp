#include "app/mainwindow.h"
#include "platform/clicklabel.h"
#include "platform/directorylistbox.h"
#include "platform/filelistbox.h"
#include "platform/filename.h"
#include "platform/foldertree.h"
#include "support/files.h"
#include "support/testregistry.h"
#include "support/world.h"
#include "windows/pathchooser.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <cerrno>
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
        QVERIFY((mkdir(path.constData(), 0755) == 0 || errno == EEXIST) && chdir(path.constData()) == 0);
    }
    ~WorkingDirectory()
    {
        QVERIFY(chdir(m_before.constData()) == 0 && rename(m_path.constData(), (m_path + ".left").constData()) == 0);
    }

private:
    QByteArray m_path, m_before;
};

FolderTree *treeOf(DirectoryListBox *box)
{
    return static_cast<FolderTree *>(box->model());
}

// How many folders the tree lists in a folder; -1 when it has no entry for it.
int foldersIn(DirectoryListBox *box, const QString &folder)
{
    const QModelIndex index = treeOf(box)->entry(QFile::encodeName(folder));
    return index.isValid() ? treeOf(box)->rowCount(index) : -1;
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
        QTest::newRow("looks like HTML") << QByteArray("r&b <live>") << "r&b <live>" << "r&amp;b &lt;live&gt;";
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

        MainWindow &form = world.start(QString("joe"));
        PathChooser &chooser = form.pathChooser();
        QCOMPARE(encodeFileName(chooser.folderTree->path()), dir);
        // Once the folders above it are read, the current one is in view.
        FolderTree *tree = treeOf(chooser.folderTree);
        const QModelIndex current = tree->entry(dir);
        QCOMPARE(current.data().toString(), readable);
        QTRY_VERIFY(!tree->reading() && foldersIn(chooser.folderTree, "/") > 1
                    && chooser.folderTree->viewport()->rect().contains(chooser.folderTree->visualRect(current).center()));
        world.clearLines();

        QTest::mouseClick(chooser.setLabel, Qt::LeftButton);
        QCOMPARE(control<QLineEdit>(form, "path")->text(), world.home() + "/" + readable);
        QCOMPARE(control<FileListBox>(form, "trackList")->entries().toStringList(), QStringList({"A.mp3", "b.mp3"}));
        QCOMPARE(world.userLines(), QStringList{TestWorld::styled("joe set path to " + world.home() + "/" + shown)});
        QCOMPARE(contents(world.preferencesPath()), "[iNfO]\nHANDLE=joe\nMP3 PATH=" + dir + "\n");
        QVERIFY(form.isVisible());
        QVERIFY(!chooser.isVisible());
    }

    // Folders only, each read when opened while shown: no file is opened (a
    // FIFO would block), and what changed while hidden shows once shown.
    void readsFoldersWhenOpenedAndShown()
    {
        TestWorld world;
        const QString rock = world.musicDir() + "/rock";
        QVERIFY(QDir().mkpath(rock + "/live") && QDir().mkpath(world.musicDir() + "/.hidden"));
        QVERIFY(mkfifo(QFile::encodeName(world.musicDir() + "/fifo").constData(), 0644) == 0);
        WorkingDirectory here(QFile::encodeName(world.musicDir()));
        MainWindow &form = world.start(QString("joe"));
        DirectoryListBox *tree = form.pathChooser().folderTree;

        // Only "rock": not the hidden folder, the file or the FIFO.
        QTRY_VERIFY(!treeOf(tree)->reading() && foldersIn(tree, world.musicDir()) == 1);
        QCOMPARE(foldersIn(tree, rock), 0); // not opened yet
        const QModelIndex rockEntry = treeOf(tree)->entry(QFile::encodeName(rock));
        tree->scrollTo(rockEntry);
        const QPoint at = tree->visualRect(rockEntry).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(tree->path(), world.musicDir());
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(tree->path(), rock);
        QTRY_COMPARE(foldersIn(tree, rock), 1);

        QTest::mouseClick(form.pathChooser().setLabel, Qt::LeftButton);
        QVERIFY(QDir().mkpath(rock + "/studio"));
        // Shown again later, it is where the user left it, and up to date.
        form.pathChooser().show();
        QCOMPARE(tree->path(), rock);
        QTRY_COMPARE(foldersIn(tree, rock), 2);
    }
};

DUN2_TEST(PathChooserTest);
#include "tst_pathchooser.moc"
