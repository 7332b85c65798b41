// What a sound menu shows of the playing track, read from the file's tags
// as it plays: told on the bus, the cover written once to the user's cache,
// and of a tag larger than any real one no more than a bound.
#include "chat/announcement.h"
#include "player/tracktags.h"
#include "support/audiofiles.h"
#include "support/program.h"
#include "support/testregistry.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

const QString Service = "org.mpris.MediaPlayer2.dun2";

// A PNG; bytes after its end make it as large as wanted, a PNG still to
// whoever reads its start.
QByteArray picture(Qt::GlobalColor color, qsizetype size = 0)
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(color);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.save(&png, "PNG");
    QByteArray bytes = png.data();
    bytes.resize(std::max(size, bytes.size()), '\0');
    return bytes;
}

QVariantMap metadata()
{
    QDBusInterface properties(Service, "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties");
    const QDBusReply<QDBusVariant> reply = properties.call("Get", "org.mpris.MediaPlayer2.Player", "Metadata");
    return qdbus_cast<QVariantMap>(reply.value().variant());
}

// The titles of the Metadata the player tells the bus, in order.
class TitlesHeard : public QObject
{
    Q_OBJECT

public:
    QStringList titles;

public slots:
    void changed(const QString &, const QVariantMap &values, const QStringList &)
    {
        if (values.contains("Metadata"))
            titles << qdbus_cast<QVariantMap>(values.value("Metadata")).value("xesam:title").toString();
    }
};

} // namespace

class MprisTagsTest : public QObject
{
    Q_OBJECT

private slots:
    void metadataComesFromTheTags()
    {
        QTemporaryDir home, cache;
        const QByteArray cover = picture(Qt::red);
        // Cut at the limit itself, the last character kept would lose its second half.
        const QString longTitle = 'a' + QString::fromUtf8("\U0001F600").repeated(TagTextLimit);
        makeTaggedMp3(home.filePath("1 tagged.mp3"), 2,
                      "title=Song,artist={Someone,\"Someone Else\"},album=Record,track-number=(uint)3", cover);
        makeMp3(home.filePath("2 plain.mp3"), 2);
        makeTaggedMp3(home.filePath("3 same cover.mp3"), 2, "title=Other", cover);
        makeTaggedMp3(home.filePath("4 huge.mp3"), 2, "title=\"" + longTitle + "\"",
                      picture(Qt::blue, TagCoverLimit + 1));
        fillHome(home.path());
        Program program(home.path(), {"--screen-name", "alice"}, {"XDG_CACHE_HOME=" + cache.path()});
        QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
        QTRY_VERIFY_WITH_TIMEOUT(bus->isServiceRegistered(Service), 15000);
        TitlesHeard heard;
        QVERIFY(QDBusConnection::sessionBus().connect(Service, "/org/mpris/MediaPlayer2",
                                                      "org.freedesktop.DBus.Properties", "PropertiesChanged",
                                                      &heard, SLOT(changed(QString, QVariantMap, QStringList))));

        const struct {
            QString name, title;
            QVariant artists, album, trackNumber;
            bool cover;
        } tracks[] = {
            {"1 tagged", "Song", QStringList{"Someone", "Someone Else"}, "Record", 3, true},
            {"2 plain", "2 plain", {}, {}, {}, false},
            {"3 same cover", "Other", {}, {}, {}, true},
            {"4 huge", longTitle.left(TagTextLimit - 1), {}, {}, {}, false},
        };
        const QString coverFile = cache.filePath("dun2/")
                                  + QCryptographicHash::hash(cover, QCryptographicHash::Sha256).toHex() + ".png";
        const QDateTime written = QDateTime::currentDateTime().addDays(-1);
        for (const auto &track : tracks) {
            QProcess::execute("playerctl", {"--player=dun2", "next"});
            // Announced by its name, as ever.
            const QString said = "<b>playing</b>: " + track.name;
            QVERIFY(program.saidOnOut("alice:\t" + StylePieces::initial().styledLine(said).toUtf8()));
            QTRY_COMPARE_WITH_TIMEOUT(heard.titles.value(heard.titles.size() - 1), track.title, 15000);
            const QVariantMap told = metadata();
            QCOMPARE(told.value("xesam:title").toString(), track.title);
            QCOMPARE(told.value("xesam:artist"), track.artists);
            QCOMPARE(told.value("xesam:album"), track.album);
            QCOMPARE(told.value("xesam:trackNumber"), track.trackNumber);
            QCOMPARE(told.value("mpris:artUrl").toString(),
                     track.cover ? QUrl::fromLocalFile(coverFile).toString() : QString());
            // One file for the two tracks that share the cover, written
            // whole, and not again for the second.
            QCOMPARE(QDir(cache.filePath("dun2")).entryList(QDir::Files), QStringList{QFileInfo(coverFile).fileName()});
            QFile file(coverFile);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QCOMPARE(file.readAll(), cover);
            if (track.cover && track.name.startsWith('1'))
                QVERIFY(file.setFileTime(written, QFileDevice::FileModificationTime));
            QCOMPARE(QFileInfo(coverFile).lastModified(), written);
        }
        QCOMPARE(program.exitCode(), 0);
    }
};

DUN2_TEST(MprisTagsTest);
#include "tst_mpristags.moc"
