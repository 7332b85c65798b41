#include "platform/filename.h"
#include "platform/inifile.h"
#include "support/testregistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class IniFileTest : public QObject {
    Q_OBJECT

private slots:
    // The preferences file as start-up and the path chooser leave it: the
    // section spelled as first written, the keys upper-cased, and every
    // spelling the callers use reaching the same keys.
    void preferencesFoundWhateverTheSpelling()
    {
        QTemporaryDir dir;
        const QString prefs = dir.path() + "/prefs.ini";
        QCOMPARE(ReadIni("info", "mp3 path", prefs), "");
        QVERIFY(!QFile::exists(prefs));
        WriteIni("iNfO", "mp3 path", "/music", prefs);
        WriteIni("iNfO", "handLe", "Joe", prefs);
        WriteIni("info", "handle", "Ann", prefs);
        QCOMPARE(contents(dir.filePath("prefs.ini")), "[iNfO]\nMP3 PATH=/music\nHANDLE=Ann\n");
        for (const char *section : {"info", "iNfO", "INFO"}) {
            QCOMPARE(ReadIni(section, "mp3 path", prefs), "/music");
            QCOMPARE(ReadIni(section, "handLe", prefs), "Ann");
        }

        // A folder named in Latin-1 on an old machine: stored as its own
        // bytes, read back as the name that opens it, shown as well as it reads.
        WriteIni("info", "mp3 path", decodeFileName("/music/caf\xE9"), prefs);
        QCOMPARE(contents(prefs), "[iNfO]\nMP3 PATH=/music/caf\xE9\nHANDLE=Ann\n");
        QCOMPARE(encodeFileName(ReadIniFileName("info", "mp3 path", prefs)), "/music/caf\xE9");
        QCOMPARE(ReadIni("info", "mp3 path", prefs), "/music/café");
        WriteIni("info", "handle", QString(800, u'v'), prefs);
        QCOMPARE(ReadIni("info", "handle", prefs), QString(749, u'v'));
    }
};

DUN2_TEST(IniFileTest);
#include "tst_inifile.moc"
