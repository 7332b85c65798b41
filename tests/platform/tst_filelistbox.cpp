#include "platform/filelistbox.h"
#include "support/files.h"
#include "support/testregistry.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class FileListBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void listsTracksAsAFileListBoxDoes()
    {
        QTemporaryDir dir;
        const QString d = dir.path();
        for (const char *name : {"b.mp3", "A.MP3", "c.Mp3", "a.mp3", "Zed.mp3", "notes.txt", "mp3", "song.mp3.bak",
                                 ".hidden.mp3", "<3 & you.mp3", "twelve chars.MP3", "Twelve chars.mp3",
                                 "twelve chars 2.mp3"})
            touch(d + "/" + name);
        // Beyond ASCII, letters still fold: Ä sorts with ä, both after z.
        // Latin-1 names show decoded; one that shows as another name does
        // is left out.
        const QByteArray bytes = QFile::encodeName(d);
        for (const char *name : {"\xC3\x84rger.mp3", "\xC3\xA4pfel.mp3", "\xE4pfel.mp3", "Caf\xE9.mp3"})
            touch(bytes + "/" + name);
        QVERIFY(QDir(d).mkdir("folder.mp3"));
        QVERIFY(QFile::link(d + "/b.mp3", d + "/link to b.mp3"));
        QVERIFY(QFile::link(d + "/gone.mp3", d + "/broken.mp3"));
        QVERIFY(QFile::link(d + "/folder.mp3", d + "/folder link.mp3"));

        FileListBox box;
        box.setPattern("*.mp3");
        box.setPath(d);
        const QString cafe = QString::fromUtf8("Caf\xC3\xA9.mp3"), apfel = QString::fromUtf8("\xC3\xA4pfel.mp3");
        QCOMPARE(box.entries().toStringList(), QStringList({"<3 & you.mp3", "A.MP3", "a.mp3", "b.mp3", "c.Mp3", cafe,
                                             "link to b.mp3", "twelve chars 2.mp3", "Twelve chars.mp3",
                                             "twelve chars.MP3", "Zed.mp3", apfel,
                                             QString::fromUtf8("\xC3\x84rger.mp3")}));
        QCOMPARE(box.filePath(cafe), bytes + "/Caf\xE9.mp3");
        QCOMPARE(box.filePath(apfel), bytes + "/\xC3\xA4pfel.mp3");
        box.setPattern("*"); // as the styles' folder is listed
        QVERIFY(box.entries().toStringList().contains("notes.txt") && box.entries().toStringList().contains("mp3"));
    }

    void whatCannotBeListedGivesAnEmptyList()
    {
        QTemporaryDir dir;
        touch(dir.filePath("song.mp3"));
        FileListBox box;
        box.setPattern("*.mp3");
        for (const QString &path : {dir.filePath("nowhere"), dir.filePath("song.mp3"), QString()}) {
            box.setPath(dir.path());
            box.setListIndex(0);
            box.setPath(path);
            QCOMPARE(box.listCount(), 0);
            QCOMPARE(box.listIndex(), -1);
            QCOMPARE(box.fileName(), QString());
        }
    }

    // The entry kept selected through a refresh is the player's test.
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
        box.setListIndex(5); // no such entry: the selection stays
        box.setListIndex(-2);
        QCOMPARE(box.fileName(), QString("two.mp3"));
        QCOMPARE(clicks.count(), 1);
        // Files come and go; a refresh shows it, and the selection goes with
        // its file, all without a click.
        QVERIFY(QFile::remove(dir.filePath("two.mp3")));
        touch(dir.filePath("three.mp3"));
        box.refresh();
        QCOMPARE(box.entries().toStringList(), QStringList({"one.mp3", "three.mp3"}));
        QCOMPARE(box.listIndex(), -1);
        QCOMPARE(clicks.count(), 1);
    }
};

DUN2_TEST(FileListBoxTest);
#include "tst_filelistbox.moc"
