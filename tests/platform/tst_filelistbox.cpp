#include "platform/filelistbox.h"
#include "support/testregistry.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

} // namespace

class FileListBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void listsTracksAsAFileListBoxDoes()
    {
        QTemporaryDir dir;
        const QString d = dir.path();
        for (const char *name : {"b.mp3", "A.MP3", "c.Mp3", "a.mp3", "Zed.mp3", "notes.txt", "mp3", "song.mp3.bak",
                                 ".hidden.mp3", "<3 & you.mp3"})
            touch(d + "/" + name);
        // Beyond ASCII, letters still fold: Ä sorts with ä, both after z.
        for (const char *name : {"\xC3\x84rger.mp3", "\xC3\xA4pfel.mp3"})
            touch(d + "/" + QString::fromUtf8(name));
        QVERIFY(QDir(d).mkdir("folder.mp3"));
        QVERIFY(QFile::link(d + "/b.mp3", d + "/link to b.mp3"));
        QVERIFY(QFile::link(d + "/gone.mp3", d + "/broken.mp3"));
        QVERIFY(QFile::link(d + "/folder.mp3", d + "/folder link.mp3"));

        FileListBox box;
        box.setPattern("*.mp3");
        box.setPath(d);
        QCOMPARE(box.entries(), QStringList({"<3 & you.mp3", "A.MP3", "a.mp3", "b.mp3", "c.Mp3", "link to b.mp3",
                                             "Zed.mp3", QString::fromUtf8("\xC3\xA4pfel.mp3"),
                                             QString::fromUtf8("\xC3\x84rger.mp3")}));
        QCOMPARE(box.listCount(), 9);
        QCOMPARE(box.listIndex(), -1);
        QCOMPARE(box.fileName(), QString());

        box.setPattern("*.*");
        QVERIFY(box.entries().contains("mp3"));
        QVERIFY(box.entries().contains("notes.txt"));
        box.setPattern("?.mp3;*.txt");
        QCOMPARE(box.entries(), QStringList({"A.MP3", "a.mp3", "b.mp3", "c.Mp3", "notes.txt"}));
    }

    void whatCannotBeListedGivesAnEmptyList_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("missing") << "missing";
        QTest::newRow("a file") << "file";
        QTest::newRow("empty path") << "empty";
        QTest::newRow("unreadable") << "unreadable";
    }

    void whatCannotBeListedGivesAnEmptyList()
    {
        QFETCH(QString, what);
        QTemporaryDir dir;
        QString path = dir.filePath("music");
        QVERIFY(QDir(dir.path()).mkdir("music"));
        touch(path + "/song.mp3");
        if (what == "missing") {
            path = dir.filePath("nowhere");
        } else if (what == "file") {
            path += "/song.mp3";
        } else if (what == "empty") {
            path.clear();
        } else {
            if (geteuid() == 0)
                QSKIP("root reads every directory");
            QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        }
        FileListBox box;
        box.setPattern("*.mp3");
        box.setPath(dir.filePath("music"));
        QCOMPARE(box.listCount(), 1);
        box.setListIndex(0);
        box.setPath(path);
        QCOMPARE(box.listCount(), 0);
        QCOMPARE(box.listIndex(), -1);
        QCOMPARE(box.fileName(), QString());
        QFile::setPermissions(dir.filePath("music"), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                         | QFileDevice::ExeOwner);
    }

    void selectionAndRefresh()
    {
        QTemporaryDir dir;
        touch(dir.filePath("one.mp3"));
        touch(dir.filePath("two.mp3"));
        FileListBox box;
        box.setPattern("*.mp3");
        box.setPath(dir.path());
        QSignalSpy clicks(&box, &FileListBox::listClicked);

        box.setListIndex(1);
        QCOMPARE(box.fileName(), QString("two.mp3"));
        QCOMPARE(clicks.count(), 1);
        box.setListIndex(5); // no such entry: the selection stays
        box.setListIndex(-2);
        QCOMPARE(box.listIndex(), 1);
        QCOMPARE(clicks.count(), 1);

        // Files come and go; a refresh shows it, and the selection is gone
        // without a click.
        QVERIFY(QFile::remove(dir.filePath("one.mp3")));
        touch(dir.filePath("three.mp3"));
        box.refresh();
        QCOMPARE(box.entries(), QStringList({"three.mp3", "two.mp3"}));
        QCOMPARE(box.listIndex(), -1);
        QCOMPARE(clicks.count(), 1);

        box.setListIndex(0);
        QCOMPARE(box.fileName(), QString("three.mp3"));
        QCOMPARE(clicks.count(), 2);
    }
};

DUN2_TEST(FileListBoxTest);
#include "tst_filelistbox.moc"
