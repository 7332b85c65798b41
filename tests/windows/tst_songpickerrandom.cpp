#include "pickerworld.h"

#include "platform/clicklabel.h"
#include "support/testregistry.h"

#include <QTest>
#include <set>

// "random" rounds over the entries' indexes, so the first and the last come
// half as often as one between; an index off by one would never draw one of
// them. Each draw waits its 0.3 seconds, so the draws are few: enough that
// missing an end by chance is about one in fifty thousand.
class SongPickerRandomTest : public QObject
{
    Q_OBJECT

private slots:
    void randomDrawsEveryEntry()
    {
        const QStringList entries{"a.mp3", "b.mp3", "c.mp3"};
        TestWorld world;
        Form1 &form = startWithTracks(world, entries);
        std::set<QString> played;
        for (int i = 0; i < 40; ++i) {
            QTest::mouseClick(openPicker(form, entries).pause, Qt::LeftButton);
            QCOMPARE(world.player.PlayState(), 2);
            played.insert(world.player.FileName().section('/', -1));
        }
        QCOMPARE(played, std::set<QString>(entries.begin(), entries.end()));
    }
};

DUN2_TEST(SongPickerRandomTest);
#include "tst_songpickerrandom.moc"
