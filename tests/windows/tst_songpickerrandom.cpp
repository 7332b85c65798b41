#include "pickerworld.h"

#include "platform/clicklabel.h"
#include "support/testregistry.h"

#include <QTest>
#include <map>

// "random" draws with the rounding of RandomNumber over the entries' 0-based
// indexes: every entry can come, the first and the last half as often as
// one between. Each draw waits its 0.3 seconds, so the counts are few and
// the bounds wide (over three standard deviations).
class SongPickerRandomTest : public QObject
{
    Q_OBJECT

private slots:
    void randomDrawsEveryEntryTheMiddleOneAboutHalfTheTime_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("draws");
        QTest::newRow("two") << QStringList{"a.mp3", "b.mp3"} << 24;
        QTest::newRow("three") << QStringList{"a.mp3", "b.mp3", "c.mp3"} << 120;
    }

    void randomDrawsEveryEntryTheMiddleOneAboutHalfTheTime()
    {
        QFETCH(QStringList, entries);
        QFETCH(int, draws);
        TestWorld world;
        Form1 &form = startWithTracks(world, entries);
        std::map<QString, int> played;
        for (int i = 0; i < draws; ++i) {
            Form3 &picker = openPicker(form, entries);
            QTest::mouseClick(picker.pause, Qt::LeftButton);
            QCOMPARE(world.player.PlayState(), 2);
            ++played[world.player.FileName().section('/', -1)];
        }
        QCOMPARE(int(played.size()), entries.size());
        if (entries.size() == 3) {
            const int middle = played["b.mp3"];
            QVERIFY2(middle > draws / 2 - 18 && middle < draws / 2 + 18, qPrintable(QString::number(middle)));
        }
    }
};

DUN2_TEST(SongPickerRandomTest);
#include "tst_songpickerrandom.moc"
