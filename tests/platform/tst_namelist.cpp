#include "platform/namelist.h"
#include "support/testregistry.h"

#include <QTest>

class NameListTest : public QObject
{
    Q_OBJECT

private slots:
    // Names come back as given, a leading byte-order mark included; a
    // search of a search's result finds only among its rows, and lists
    // joined keep their order.
    void namesSearchesAndJoins()
    {
        const QString bom = QString(QChar(0xFEFF)) + "bom.mp3";
        const QString anger = QString::fromUtf8("\xC3\x84rger.mp3");
        const QStringList names{bom, anger, "b", "Beta.MP3"};
        const NameList list(names);
        QCOMPARE(list.toStringList(), names);
        QCOMPARE(list.indexOf(anger), 1);
        QCOMPARE(list.indexOf("beta.mp3"), -1);

        QCOMPARE(list.holding(QString::fromUtf8("\xC3\xA4")).toStringList(), QStringList{anger});
        QCOMPARE(list.holding(""), list);
        const NameList mp3s = list.holding(".MP3");
        QCOMPARE(mp3s.toStringList(), QStringList({bom, anger, "Beta.MP3"}));
        QCOMPARE(mp3s.holding("b").toStringList(), QStringList({bom, "Beta.MP3"}));
        QVERIFY(mp3s.holding("zzz").isEmpty());

        const NameList joined = mp3s + NameList(QStringList{"b"});
        QCOMPARE(joined.toStringList(), QStringList({bom, anger, "Beta.MP3", "b"}));
        QVERIFY(joined != mp3s);
        QCOMPARE(NameList() + mp3s, mp3s);
    }
};

DUN2_TEST(NameListTest);
#include "tst_namelist.moc"
