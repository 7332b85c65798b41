#include "platform/filelistbox.h"
#include "platform/nestedloop.h"
#include "support/files.h"
#include "support/testregistry.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// Runs the action once inside the next nested wait.
void inTheListingsWait(std::function<void()> action)
{
    auto *poll = new QTimer;
    poll->setInterval(1);
    QObject::connect(poll, &QTimer::timeout, [poll, action = std::move(action)] {
        if (NestedLoop::depth() == 0)
            return;
        poll->stop();
        poll->deleteLater();
        action();
    });
    poll->start();
}

class FileListBoxTest : public QObject
{
    Q_OBJECT

private slots:
    // A folder big enough to be read off the window thread: the box's
    // caller waits in a nested loop, where windows are served. What the
    // user selects meanwhile stays selected, and a listing begun meanwhile
    // is the one the box ends with, both for its own caller and this one.
    void aListingMeanwhileIsServedAndWins()
    {
        QTemporaryDir big, small;
        makeManyFiles(big.path(), 100000, [](int i) { return QString("track %1.mp3").arg(i, 6, 10, QChar('0')); });
        touch(small.path() + "/only.mp3");
        FileListBox box;
        box.setPath(big.path());
        box.setListIndex(7);
        const QString chosen = box.list(99000);
        bool refreshedMeanwhile = false;
        inTheListingsWait([&] {
            box.setListIndex(99000);
            touch(big.path() + "/added.mp3");
            box.refresh();
            refreshedMeanwhile = box.listCount() == 100001;
        });
        box.refresh();
        QVERIFY(refreshedMeanwhile);
        QCOMPARE(box.listCount(), 100001);
        QCOMPARE(box.fileName(), chosen);

        inTheListingsWait([&] { box.setPath(small.path()); });
        box.setPath(big.path());
        QCOMPARE(box.entries().toStringList(), QStringList{"only.mp3"});
        QCOMPARE(box.path(), small.path());
    }

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
