// The first start as a user without a screen has it: the program in the
// terminal face, the handle typed at its question, then the directory for
// the path chooser.
#include "chat/announcement.h"
#include "support/testregistry.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    QByteArrayList out; // lines
    QByteArray err;
    int exitCode = -1;
};

// Types the handle, and once the program has said who its user is, the
// rest; or sends everything at once, as a pipe would.
Run runProgram(const QString &home, const QString &workingDirectory, const QByteArray &handle,
               const QByteArray &rest, bool typeAhead)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(workingDirectory);
    program.start(qEnvironmentVariable("DUN2_PROGRAM"),
                  {"--console", "--home", home, "--screen-name", "tester"});
    if (!program.waitForStarted())
        return {};
    QByteArray out;
    if (typeAhead) {
        program.write(handle + rest);
    } else {
        program.write(handle);
        while (!out.contains("user: ") && program.waitForReadyRead(30000))
            out += program.readAllStandardOutput();
        program.write(rest);
    }
    program.closeWriteChannel();
    if (!program.waitForFinished(60000))
        program.kill();
    out += program.readAllStandardOutput();
    Run run{out.split('\n'), program.readAllStandardError(),
            program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1};
    if (run.out.last().isEmpty())
        run.out.removeLast();
    return run;
}

QByteArray announced(const QString &message)
{
    return "tester:\t" + StylePieces::initial().styledLine(message).toUtf8();
}

} // namespace

class FirstStartTerminalTest : public QObject
{
    Q_OBJECT

private slots:
    void pathChooserTakesALine_data()
    {
        QTest::addColumn<bool>("startInMusic"); // else in the program's home
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("typeAhead");
        QTest::addColumn<QByteArray>("complaint");
        QTest::newRow("no such directory, then one from where it stands")
            << false << "nowhere\nmusic\n" << false << QByteArray("no directory nowhere");
        QTest::newRow("everything at once") << true << "\n" << true << QByteArray();
    }

    void pathChooserTakesALine()
    {
        QFETCH(bool, startInMusic);
        QFETCH(QString, answer);
        QFETCH(bool, typeAhead);
        QFETCH(QByteArray, complaint);
        if (qEnvironmentVariableIsEmpty("DUN2_PROGRAM"))
            QSKIP("DUN2_PROGRAM names no program");
        QTemporaryDir home;
        const QString music = home.path() + "/music";
        QVERIFY(QDir().mkpath(music));
        const QString start = startInMusic ? music : home.path();

        Run run = runProgram(home.path(), start, "joe\n", answer.toUtf8(), typeAhead);
        QCOMPARE(run.exitCode, 0);
        QByteArrayList expected = {announced(QString::fromUtf8("Ðûñ² løªded ")), announced("user: joe"),
                                   announced("joe set path to " + music)};
        // Typed ahead, the path chooser takes its line while start-up waits
        // between its two announcements.
        if (typeAhead)
            expected.swapItemsAt(1, 2);
        QCOMPARE(run.out, expected);
        QVERIFY2(run.err.contains("directøry: " + start.toUtf8()), run.err);
        QVERIFY2(run.err.contains(complaint), run.err);
    }
};

DUN2_TEST(FirstStartTerminalTest);
#include "tst_firststartterminal.moc"
