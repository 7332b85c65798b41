// Where the program keeps its settings when the user does not say: they
// must outlive the build folder and an installed program's read-only one.
#include "support/files.h"
#include "support/program.h"
#include "support/testregistry.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

class SettingsHomeTest : public QObject
{
    Q_OBJECT

private slots:
    void settingsLiveWhereSettingsLive_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("--home") << "given";
        QTest::newRow("XDG_CONFIG_HOME") << "xdg/dun2";
        QTest::newRow("a relative XDG_CONFIG_HOME is no place") << "home/.config/dun2";
        QTest::newRow("without XDG_CONFIG_HOME") << "home/.config/dun2";
        QTest::newRow("beside a program that has its prefs.ini") << "portable";
    }

    // The first start asks and stores; the next start, given nothing,
    // finds what was stored and asks nothing.
    void settingsLiveWhereSettingsLive()
    {
        QFETCH(QString, where);
        QTemporaryDir root;
        const QString music = root.filePath("music");
        QVERIFY(QDir().mkpath(music));
        QStringList environment{"HOME=" + root.filePath("home"), "XDG_CONFIG_HOME=" + root.filePath("xdg")};
        if (QTest::currentDataTag() == QByteArray("without XDG_CONFIG_HOME"))
            environment.removeLast();
        else if (QTest::currentDataTag() == QByteArray("a relative XDG_CONFIG_HOME is no place"))
            environment.last() = "XDG_CONFIG_HOME=xdg";
        const QString given = where == "given" ? root.filePath("given") : QString();

        // A program carried with its settings: a link to the real one in a
        // folder of its own, on the same file system as the build.
        const QByteArray program = qgetenv("DUN2_PROGRAM");
        QTemporaryDir portable(QFileInfo(QString::fromLocal8Bit(program)).absolutePath() + "/portable-XXXXXX");
        if (where == "portable") {
            const QString copy = portable.filePath("dun2");
            QCOMPARE(link(program.constData(), QFile::encodeName(copy).constData()), 0);
            QVERIFY(writeFile(portable.filePath("prefs.ini"), "[info]\nmp3 path=" + music.toUtf8() + "\nhandle=Pat\n"));
            qputenv("DUN2_PROGRAM", QFile::encodeName(copy));
        }
        const QString home = where == "portable" ? portable.path() : root.filePath(where);

        const QByteArray user = where == "portable" ? "Pat" : "joe";
        for (int start = where == "portable" ? 1 : 0; start < 2; ++start) {
            Program run(given, {"--console", "--screen-name", "tester"}, environment, music);
            if (start == 0)
                run.write("joe\n\n"); // the handle, then the folder it stands in
            QVERIFY2(run.saidOnOut("user: " + user), run.out());
            run.type(".exit");
            QCOMPARE(run.exitCode(), 0);
            QVERIFY2(start == 0 || !run.errors().contains("state ya handle"), run.errors());
        }
        qputenv("DUN2_PROGRAM", program);
        if (where != "portable")
            QCOMPARE(contents(home + "/prefs.ini"), "[iNfO]\nHANDLE=joe\nMP3 PATH=" + music.toUtf8() + "\n");
        // Nothing is made where settings do not go.
        for (const QString &elsewhere : {root.filePath("given"), root.filePath("xdg/dun2"),
                                         root.filePath("home/.config/dun2")})
            QCOMPARE(QFileInfo::exists(elsewhere), elsewhere == home);
    }
};

DUN2_TEST(SettingsHomeTest);
#include "tst_settingshome.moc"
