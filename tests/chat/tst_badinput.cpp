#include "app/mainwindow.h"
#include "chat/chatscan.h"
#include "chatworld.h"
#include "platform/filelistbox.h"
#include "support/testregistry.h"

#include <QCheckBox>
#include <QScrollBar>
#include <QSignalSpy>

class BadInputTest : public QObject
{
    Q_OBJECT

private slots:
    void linesThatAreNoCommands()
    {
        TestWorld world;
        MainWindow &form = startWithTracks(world, {"one.mp3"});
        const QString megabyte(1 << 20, u'x');
        const QStringList lines{megabyte, "." + megabyte, ".stop" + megabyte, megabyte + ".stop",
                                QString(".st") + QChar(0) + "op", QString(".stop") + QChar(0),
                                "\x01\x02\x03\x1b[31m.stop", ".stop\r\n", "\t.stop", ".[stop]", "[.stop]", ".[a-z]",
                                ".*", ".?", "[", ".p", ".pstop", QString::fromUtf8(".st\xC3\xB6p"),
                                QString(QChar(0xD800)) + ".stop", // half a surrogate pair
                                ".stop" + QString(QChar(0xDC00)), ".xwelc ", " .xwelc", "xwelc", "..xwelc",
                                ".mp3s", ".mp3s??", ".b c", ".vol", ".handle", "", ".", "hello everybody"};
        QSignalSpy seen(form.program().commandScan, &ChatScan::ChatLine);
        for (const QString &line : lines)
            world.say(line);
        QVERIFY(world.waitUntilHandled());
        QCOMPARE(announcements(world), QStringList());
        QTRY_COMPARE(seen.count(), int(lines.size()) + 2); // the sentinel's answer is a line of the room too
        QVERIFY(!world.programEnded());
    }

    void megabyteArguments()
    {
        TestWorld world;
        MainWindow &form = startWithTracks(world, {"one.mp3"});
        const QString digits(1 << 20, u'5');
        QCOMPARE(answerTo(world, ".vol " + digits), QStringList{"<b>volume</b> can be set 1 - 100"});
        QCOMPARE(answerTo(world, ".vol 50." + digits), QStringList{"<b>volume</b> set 50." + digits + "%"});
        QCOMPARE(control<QScrollBar>(form, "volumeBar")->value(), 51);
        QCOMPARE(answerTo(world, ".p " + QString(1 << 20, u'[')), QStringList{"<b>error</b> no mp3 found "});
    }

    void burstsOfLines()
    {
        TestWorld world;
        MainWindow &form = startWithTracks(world, {"one.mp3"});
        QSignalSpy seen(form.program().commandScan, &ChatScan::ChatLine);
        const QString kilobyte = ".stop" + QString(1019, u'*');
        for (int i = 0; i < 10000; ++i)
            world.sayAs("bob", i % 2 ? kilobyte : ".stop");
        for (int i = 0; i < 10000; ++i)
            world.say(i % 2 ? kilobyte : "just talking");
        QVERIFY(world.waitUntilHandled(60000));
        QCOMPARE(announcements(world), QStringList());
        QTRY_COMPARE(seen.count(), 20002);
    }
};

DUN2_TEST(BadInputTest);
#include "tst_badinput.moc"
