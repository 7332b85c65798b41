#include "platform/irc/ircaccounts.h"
#include "platform/irc/ircpacer.h"
#include "platform/irc/ircreader.h"
#include "support/testregistry.h"

#include <QTest>

// The parts of the IRC link that need no server: how bytes become lines,
// how fast lines leave, and whose account a nick carries.
class IrcPartsTest : public QObject
{
    Q_OBJECT

private slots:
    void linesFromChunks_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QList<QByteArray>>("lines");
        const QByteArray longest(IrcLineReader::MaxLineBytes, 'a');
        const QByteArray tooLong(IrcLineReader::MaxLineBytes + 2, 'b');
        QTest::newRow("CR LF and bare LF") << QList<QByteArray>{"PING a\r\nPING b\nPIN", "G c\r", "\n"}
                                           << QList<QByteArray>{"PING a", "PING b", "PING c"};
        QTest::newRow("longest kept, longer skipped to its end")
            << QList<QByteArray>{longest + "\r\n" + tooLong.left(100), tooLong.mid(100) + "tail\r\nnext\n"}
            << QList<QByteArray>{longest, "next"};
        QTest::newRow("no end yet") << QList<QByteArray>{"PING a"} << QList<QByteArray>{};
        QTest::newRow("10 MB without an end")
            << QList<QByteArray>(10 * 64, QByteArray(16 * 1024, 'x')) + QList<QByteArray>{"\r\nPING :still here\r\n"}
            << QList<QByteArray>{"PING :still here"};
    }

    void linesFromChunks()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QList<QByteArray>, lines);
        IrcLineReader reader;
        QList<QByteArray> got;
        for (const QByteArray &chunk : chunks) {
            reader.append(chunk);
            QVERIFY(reader.heldBytes() <= IrcLineReader::MaxLineBytes + chunk.size());
            while (std::optional<QByteArray> line = reader.takeLine())
                got << *line;
        }
        QCOMPARE(got, lines);
    }

    // RFC 1459's message timer: five at once, then one per two seconds, in
    // order, with the server's replies ahead of the channel's lines.
    void pacing()
    {
        qint64 now = 1000;
        IrcPacer pacer([&] { return now; });
        std::vector<QByteArray> lines;
        for (int i = 0; i < 8; ++i)
            lines.push_back("PRIVMSG #c :" + QByteArray::number(i));
        QVERIFY(pacer.addChannel(lines));
        QList<QByteArray> sent;
        auto drain = [&] {
            while (std::optional<QByteArray> line = pacer.take())
                sent << *line;
        };
        drain();
        QCOMPARE(sent.size(), 5);
        now += 1999;
        drain();
        QCOMPARE(sent.size(), 5);
        pacer.addProtocol("PONG :x");
        now += 1;
        drain();
        QCOMPARE(sent.last(), QByteArray("PONG :x"));
        now += 4000;
        drain();
        QCOMPARE(sent.size(), 8);
        QCOMPARE(sent.mid(6), (QList<QByteArray>{"PRIVMSG #c :5", "PRIVMSG #c :6"}));
        // A quiet minute earns no more than the burst.
        now += 60000;
        QVERIFY(pacer.addChannel(lines));
        drain();
        QCOMPARE(sent.size(), 8 + 5);

        // All pieces of a line or none: the queue's bytes stay bounded.
        const std::vector<QByteArray> big(IrcPacer::MaxChannelBytes / 400, QByteArray(400, 'x'));
        pacer.clearChannel();
        QVERIFY(pacer.addChannel(big));
        QVERIFY(!pacer.addChannel({QByteArray(100, 'y'), QByteArray(400, 'y')}));
        QVERIFY(pacer.addChannel({QByteArray(100, 'z')}));

        // By class, and in order within each; protocol replies before all.
        IrcPacer classes([] { return qint64(0); });
        classes.setStepMs(0);
        QVERIFY(classes.addChannel({"entry 1", "entry 2"}, PostPriority::Listing));
        QVERIFY(classes.addChannel({"reply 1"}));
        QVERIFY(classes.addChannel({"typed 1", "typed 2"}, PostPriority::Typed));
        QVERIFY(classes.addProtocol("PONG"));
        QVERIFY(classes.addChannel({"reply 2"}));
        sent.clear();
        while (std::optional<QByteArray> line = classes.take())
            sent.append(*line);
        QCOMPARE(sent, (QByteArrayList{"PONG", "typed 1", "typed 2", "reply 1", "reply 2", "entry 1", "entry 2"}));
    }

    void accounts()
    {
        IrcAccounts accounts;
        accounts.set("Ceo[1]", "boss");
        QCOMPARE(accounts.account("ceo{1}"), QString("boss"));
        accounts.set("a^", "x");
        QCOMPARE(accounts.account("A~"), QString("x"));
        accounts.setCaseMapping("ascii");
        accounts.set("Ceo[1]", "boss");
        QCOMPARE(accounts.account("ceo{1}"), QString());
        QCOMPARE(accounts.account("CEO[1]"), QString("boss"));
        accounts.rename("ceo[1]", "Away");
        QCOMPARE(accounts.account("ceo[1]"), QString());
        QCOMPARE(accounts.account("away"), QString("boss"));
        accounts.set("away", "*");
        QCOMPARE(accounts.account("away"), QString());
        // Bounded by bytes: the largest channel's members fit, a server's
        // 4 KB nicks do not, and what is kept is still found.
        const QString longest(32, u'x');
        int members = 0;
        for (; members < 20000; ++members)
            accounts.set(longest.left(26) + QString::number(100000 + members), longest);
        QVERIFY(!accounts.overflowed());
        const QString huge(4096, u'y');
        for (int i = 0; !accounts.overflowed(); ++i)
            accounts.set(huge + QString::number(i), huge);
        QVERIFY(accounts.bytes() <= IrcAccounts::MaxBytes);
        accounts.rename(longest.left(26) + "100000", "Other");
        QCOMPARE(accounts.account("other"), longest);
        accounts.clear();
        QVERIFY(!accounts.overflowed() && accounts.bytes() == 0 && accounts.size() == 0);
        // Account names fold ASCII letters alone, as services do.
        QVERIFY(IrcAccounts::sameAccount("Kate", "kATE"));
        QVERIFY(!IrcAccounts::sameAccount(QString::fromUtf16(u"\u212Aate"), "kate")); // a Kelvin sign
        QVERIFY(!IrcAccounts::sameAccount(QString::fromUtf16(u"\u017Fam"), "sam"));   // a long s
        QVERIFY(!IrcAccounts::sameAccount("kat", "kate"));
    }
};

DUN2_TEST(IrcPartsTest);
#include "tst_ircparts.moc"
