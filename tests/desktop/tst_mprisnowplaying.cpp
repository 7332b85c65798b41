// What a follower on the bus (playerctl --follow, a sound menu) is told of
// CanPlay when the now-playing list changes by a road other than the track
// list: the song search and the song picker's "back".
#include "chat/chatworld.h"
#include "desktop/mprisplayer.h"
#include "desktop/mprisservice.h"
#include "platform/clicklabel.h"
#include "platform/filelistbox.h"
#include "support/testregistry.h"
#include "windows/songpicker.h"

#include <QDBusConnection>
#include <QTest>

namespace {

// Of each PropertiesChanged of the player, what a test here looks at:
// "CanPlay=true", "CanPlay=false", "Volume", or CanPlay and Volume joined
// by "+" when one message tells both.
class PropertiesHeard : public QObject
{
    Q_OBJECT

public:
    QStringList told;

public slots:
    void changed(const QString &, const QVariantMap &values, const QStringList &)
    {
        QStringList parts;
        if (values.contains("CanPlay"))
            parts << "CanPlay=" + values.value("CanPlay").toString();
        if (values.contains("Volume"))
            parts << "Volume";
        if (!parts.isEmpty())
            told << parts.join('+');
    }
};

} // namespace

class MprisNowPlayingTest : public QObject
{
    Q_OBJECT

private slots:
    // Told at once, on its own, not left for whatever changes next (here
    // the volume, set after it as the sentinel of what is told).
    void canPlayIsToldAsTheListChanges()
    {
        TestWorld world;
        MainWindow &form = startWithTracks(world, {"Alpha One.mp3", "alpha two.mp3", "beta.mp3"});
        const std::unique_ptr<QObject> published = PublishMediaPlayer(*form.program().playerActions, form.commandContext().program);
        QVERIFY(published);
        // Apart from the program's own connection, as playerctl is.
        QDBusConnection observer = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "observer");
        PropertiesHeard heard;
        QVERIFY(observer.connect(QString(), MprisObjectPath, "org.freedesktop.DBus.Properties", "PropertiesChanged",
                                 &heard, SLOT(changed(QString, QVariantMap, QStringList))));
        const auto choose = [&](int row) {
            control<FileListBox>(form, "trackList")->setListIndex(row);
            QTRY_COMPARE(heard.told.value(heard.told.size() - 1), QString("CanPlay=true"));
        };
        choose(2);

        // Several found, none to play: after a track was chosen in the
        // search's wait, and by "back" after one was chosen since.
        int volume = 50;
        for (const bool back : {false, true}) {
            if (!back)
                duringNextWait([&] { control<FileListBox>(form, "trackList")->setListIndex(0); });
            QCOMPARE(answerTo(world, ".p alpha").size(), 2);
            if (back) {
                choose(2);
                QTest::mouseClick(form.songPicker().backLabel, Qt::LeftButton);
            }
            QCOMPARE(form.playerState().nowPlayingName(), QString());
            QVERIFY(world.waitUntilHandled());
            world.say(".vol " + QString::number(volume++));
            QTRY_VERIFY(heard.told.value(heard.told.size() - 1).contains("Volume"));
            QCOMPARE(heard.told.mid(heard.told.size() - 2), QStringList({"CanPlay=false", "Volume"}));
            heard.told.clear();
        }
    }
};

DUN2_TEST(MprisNowPlayingTest);
#include "tst_mprisnowplaying.moc"
