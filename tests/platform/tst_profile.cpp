#include "platform/inifile.h"
#include "platform/profile.h"
#include "support/files.h"
#include "support/filesizelimit.h"
#include "support/testregistry.h"

#include <QDir>
#include <QFile>
#include <QCoreApplication>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <optional>
#include <tuple>
#include <unistd.h>

namespace {

const QByteArray noFile; // null, unlike QByteArray(""), an empty file

// A file in a fresh directory, holding the bytes unless they are noFile.
QString profileFile(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath("p.ini");
    QFile file(path);
    if (!bytes.isNull() && (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray utf16(const char16_t *text, bool bigEndian)
{
    return QStringEncoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                          QStringConverter::Flag::WriteBom)(QStringView(text));
}

} // namespace

class ProfileTest : public QObject {
    Q_OBJECT

private slots:
    // Every row looks up key "k" of section "a".
    void read_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("bufferSize");
        QTest::addColumn<QString>("expected");
        const QString none = "(none)";
        const auto row = [](const char *name, const QByteArray &file, int bufferSize, const QString &expected) {
            QTest::newRow(name) << file << bufferSize << expected;
        };
        row("names ignore case, blanks trimmed", " [ A ] \n\t K \t=\t v w \t\n", 750, "v w");
        row("first section wins, not a key before it", "k=1\n[a]\nx=1\n[A]\nk=2\n", 750, none);
        row("first key wins", "[a]\nk=1\nK=2\n", 750, "1");
        row("one pair of quotes", "[a]\nk= \"\"x\"\" \n", 750, "\"x\"");
        row("comments, no '='", "[a]\n;k=1\n#k=2\n k\n", 750, none);
        row("'[' without ']', text after ']'", "[b]\n[a\nk=1\n[a] x\nk=2\n", 750, "2");
        row("CRLF, CR, LF", "[b]\r\nx=1\r[a]\r\n\rk=3", 750, "3");
        row("default cut", noFile, 4, "(no");
        row("buffer of 0", "[a]\nk=abc\n", 0, "");
        row("pair not split", "[a]\nk=ab\xF0\x9F\x98\x80\n", 4, "ab");
        row("pair kept", "[a]\nk=ab\xF0\x9F\x98\x80\n", 5, "ab\U0001F600");
        row("UTF-8, BOM", "\xEF\xBB\xBF[a]\nk=\xC3\xA9\xE2\x80\xBA\n", 750, "é›");
        row("Windows-1252", "[a]\nk=\x80..\x9B \x95\xB7\x81\xE9\n", 750, "€..› •·\u0081é");
        row("not all UTF-8", "[a]\nk=\xC3\xA9\x9B\n", 750, "Ã©›");
        row("1252 comment, UTF-8 value", "[a]\n;caf\xE9\nk=/m\xC3\xBCsic\n", 750, "/müsic");
        row("UTF-16 LE", utf16(u"[a]\r\nk=é😀\r\n", false), 750, "é😀");
        row("UTF-16 BE", utf16(u"[a]\r\nk=é😀", true), 750, "é😀");
        row("UTF-16, odd byte", utf16(u"[a]\nk=v", false) + "x", 750, "v");
        row("NUL bytes", QByteArrayLiteral("\0\0[b]\0\n[a]\nk=v\0w\n"), 750, QString::fromUtf8("v\0w", 3));
        row("binary garbage", contents(QCoreApplication::applicationFilePath()).left(1 << 16) + "\n[a]\nk=v\n", 750, "v");
        row("10 MB value", "[a]\nk=" + QByteArray(10 << 20, 'x'), 750, QString(749, 'x'));
        row("10 MB line", QByteArray(10 << 20, '['), 750, none);
    }

    void read()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, bufferSize);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QCOMPARE(getPrivateProfileString("a", "k", "(none)", bufferSize, profileFile(dir, file)), expected);
    }

    // Every row writes value "v" under the key into section "a".
    void write_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("after");
        const auto row = [](const char *name, const QByteArray &before, const QString &key, const QByteArray &after) {
            QTest::newRow(name) << before << key << after;
        };
        row("new file", noFile, "Handle", "[a]\nHandle=v\n");
        row("empty file", "", "k", "[a]\nk=v\n");
        row("new section", "k=1\n[b]\nx=1", "k", "k=1\n[b]\nx=1\n\n[a]\nk=v\n");
        row("after a blank line", ";c\n\n", "k", ";c\n\n[a]\nk=v\n");
        row("new key", "[a]\nx=1\n;c\n\n[b]\n", "k", "[a]\nx=1\n;c\nk=v\n\n[b]\n");
        row("new key at the end", "[a]\nx=1", "k", "[a]\nx=1\nk=v\n");
        row("replaced as spelled", "[A]\n handle = old \n;c", "HANDLE", "[A]\nHANDLE=v\n;c");
        row("first wins", "[a]\nk=1\nk=2\n[A]\nk=3\n", "K", "[a]\nK=v\nk=2\n[A]\nk=3\n");
        row("lines kept", " ; c\t\n junk \n[a]\n x = 1 \n#z\n", "y", " ; c\t\n junk \n[a]\n x = 1 \n#z\ny=v\n");
        row("CRLF file", "[a]\r\nx=1\r\n", "k", "[a]\r\nx=1\r\nk=v\r\n");
        row("LF first", "[a]\nx=1\r\ny=2\r", "k", "[a]\nx=1\r\ny=2\rk=v\n");
        row("line break in key", noFile, " k\r\n", "[a]\nk=v\n");
        row("BOM kept", "\xEF\xBB\xBF[a]\n", "k", "\xEF\xBB\xBF[a]\nk=v\n");
        row("other lines' bytes", "[a]\n;\xE9\nk=\xE9\np=/m\xC3\xBC\n\xFF", "k", "[a]\n;\xE9\nk=v\np=/m\xC3\xBC\n\xFF");
        row("UTF-16 LE kept", utf16(u"[a]\r\n;é\r\n", false), "k", utf16(u"[a]\r\n;é\r\nk=v\r\n", false));
        row("UTF-16 BE kept", utf16(u"[b]", true), "k", utf16(u"[b]\n\n[a]\nk=v\n", true));
    }

    void write()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, key);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = profileFile(dir, before);
        // A user's file, written by root here, stays the user's.
        const QByteArray name = QFile::encodeName(path);
        const bool givenAway = !before.isNull() && chown(name, 1234, 1234) == 0 && chmod(name, 0640) == 0;
        QVERIFY(writePrivateProfileString("a", key, "v", path));
        QCOMPARE(contents(path), after);
        struct stat info {};
        QCOMPARE(stat(name, &info), 0);
        if (givenAway)
            QCOMPARE(std::tuple(info.st_uid, info.st_gid, info.st_mode & 07777), std::tuple(1234u, 1234u, 0640u));
    }

    // Through both paths of the writer: a new key, then the same key replaced.
    void roundTrip()
    {
        const std::pair<QString, QString> cases[] = {
            {" Joe", " Joe"}, {" ", " "}, {"\tx\t", "\tx\t"}, {"\"q\"", "\"q\""}, {"\"\"", "\"\""},
            {"\"", "\""}, {"a=b;c#d[e]", "a=b;c#d[e]"}, {"ü 😀 ›", "ü 😀 ›"}, {"", ""}, {"a\r\nb\n", "a  b "},
        };
        for (const auto &[value, readBack] : cases) {
            QTemporaryDir dir;
            const QString path = profileFile(dir, noFile);
            for (const QString &written : {QStringLiteral("first"), value}) {
                QVERIFY(writePrivateProfileString("s", "k", written, path));
                QVERIFY(writePrivateProfileString("t", "k", "other", path));
            }
            QCOMPARE(getPrivateProfileString("S", "K", "(none)", 750, path), readBack);
            QCOMPARE(getPrivateProfileString("t", "k", "(none)", 750, path), "other");
        }
    }

    // How the program reads and writes: keys it creates upper-cased, values
    // read back cut to its 750-character buffer.
    void throughReadIniAndWriteIni()
    {
        QTemporaryDir dir;
        const QString path = profileFile(dir, noFile);
        QVERIFY(WriteIni("iNfO", "mp3 path", QString(800, u'v'), path));
        QCOMPARE(contents(path), "[iNfO]\nMP3 PATH=" + QByteArray(800, 'v') + "\n");
        QCOMPARE(ReadIni("info", "mp3 path", path), QString(749, u'v'));
    }

    void failedWrite_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"parent is a file", "path is a directory", "disk full", "read-only directory"})
            QTest::newRow(how) << how;
    }

    // The old file is left whole and no temporary file is left behind.
    void failedWrite()
    {
        QFETCH(QString, how);
        QTemporaryDir dir;
        const QByteArray old = "[a]\nk=old\n";
        const QString oldPath = profileFile(dir, old);
        QString target = oldPath;
        std::optional<FileSizeLimit> limit;
        if (how == "parent is a file") {
            target = oldPath + "/p.ini";
        } else if (how == "path is a directory") {
            target = dir.filePath("d");
            QVERIFY(QDir(dir.path()).mkdir("d"));
        } else if (how == "disk full") {
            limit.emplace(64);
        } else {
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
            if (QFile probe(dir.filePath("probe")); probe.open(QIODevice::WriteOnly)) {
                probe.remove();
                QSKIP("a read-only directory does not stop this user (root)");
            }
        }
        const auto entries = [&] {
            return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        };
        const QStringList before = entries();
        const bool written = writePrivateProfileString("a", "k", QString(4096, 'n'), target);
        limit.reset();
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!written);
        QCOMPARE(contents(oldPath), old);
        QCOMPARE(entries(), before);
        QCOMPARE(getPrivateProfileString("a", "k", "(none)", 750, target), target == oldPath ? "old" : "(none)");
    }
};

DUN2_TEST(ProfileTest);
#include "tst_profile.moc"
