// The program as a user without a screen runs it: a subprocess in the
// terminal face, fed on standard input, read back on standard output.
#include "chat/announcement.h"
#include "support/audiofiles.h"
#include "support/testregistry.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    QByteArray out;
    QByteArray err;
    int exitCode = -1;
};

Run runProgram(const QString &home, const QByteArray &input, const QString &screenName = "alice")
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    program.setProcessEnvironment(environment);
    program.start(qEnvironmentVariable("DUN2_PROGRAM"), {"--home", home, "--screen-name", screenName});
    if (!program.waitForStarted())
        return {};
    program.write(input);
    program.closeWriteChannel();
    // The program ends by itself once its input has ended and it is idle.
    if (!program.waitForFinished(60000))
        program.kill();
    return {program.readAllStandardOutput(), program.readAllStandardError(),
            program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1};
}

QByteArray announced(const QString &message)
{
    return "alice:\t" + StylePieces::initial().styledLine(message).toUtf8() + "\n";
}

} // namespace

class TerminalFaceTest : public QObject
{
    Q_OBJECT

private slots:
    // Whatever a name or a line holds, each line of the room is one line
    // here, and nobody's line passes for somebody else's.
    void eachLineOfTheRoomIsOneLine()
    {
        QTemporaryDir home;
        makeMp3(home.filePath("x\nmallory:\tI am mallory.mp3"), 0.1);
        QFile prefs(home.filePath("prefs.ini"));
        QVERIFY(prefs.open(QIODevice::WriteOnly));
        prefs.write("[info]\r\nmp3 path=" + home.path().toUtf8() + "\r\nhandle=Ann\r\n");
        prefs.close();
        const QByteArray input = ".p mallory\n/as bob hi \xC3\xB8 <b>x</b>\nplain words\n"
                                 "/as bob x\rmallory:\tI am mallory\x1b[2J\n/as eve\x7f\x01 \xC2\x85\n";
        Run run = runProgram(home.path(), input);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains(announced("<b>playing</b>: x mallory: I am mallory")), run.out);
        QVERIFY(run.out.contains("bob:\thi \xC3\xB8 <b>x</b>\n"));
        QVERIFY(run.out.contains("alice:\tplain words\n"));
        QVERIFY(run.out.contains("bob:\tx\\rmallory:\\tI am mallory\\x1b[2J\n"));
        QVERIFY(run.out.contains("eve\\x7f\\x01:\t\\u0085\n"));
        QVERIFY(!run.out.contains("\nmallory"));
    }

    void screenNameTheServiceWouldRefuse()
    {
        QTemporaryDir home;
        Run run = runProgram(home.path(), ".stop\n", "jo!e");
        QVERIFY(run.exitCode > 0);
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(run.err.contains("screen name can't hold \"!\""), run.err);
    }
};

DUN2_TEST(TerminalFaceTest);
#include "tst_terminalface.moc"
