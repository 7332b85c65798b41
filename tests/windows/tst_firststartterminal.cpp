// The first start as a user without a screen has it: the program in the
// terminal face, the handle typed at its question, then the directory at
// the path chooser's, asked once the handle is answered.
#include "chat/announcement.h"
#include "platform/inifile.h"
#include "support/program.h"
#include "support/testregistry.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray announced(const QString &message)
{
    return "tester:\t" + StylePieces::initial().styledLine(message).toUtf8();
}

} // namespace

class FirstStartTerminalTest : public QObject
{
    Q_OBJECT

private slots:
    void pathChooserTakesALine()
    {
        const struct {
            bool startInMusic; // else in the program's home
            QString answer;
            bool typeAhead;
            QByteArray complaint;
        } cases[] = {
            {false, "nowhere\nmusic\n", false, "no directory nowhere"}, // then one from where it stands
            {true, "\n", true, {}}, // everything at once
        };
        for (const auto &[startInMusic, answer, typeAhead, complaint] : cases) {
            QTemporaryDir home;
            const QString music = home.path() + "/music";
            QVERIFY(QDir().mkpath(music));
            const QString start = startInMusic ? music : home.path();

            Program program(home.path(), {"--console", "--screen-name", "tester"}, {}, start);
            // Each answer once its question is asked, one question at a time:
            // the handle, then (with the user announced) the directory; or
            // everything at once, as a pipe would send it.
            if (typeAhead) {
                program.write("joe\n" + answer.toUtf8());
            } else {
                QVERIFY(program.saidOnError("state ya handle", 30000));
                QVERIFY2(!program.errors().contains("directøry"), program.errors());
                program.write("joe\n");
                QVERIFY(program.saidOnError("directøry", 30000));
                QVERIFY2(program.out().contains("user: joe"), program.out());
                program.write(answer.toUtf8());
            }
            QCOMPARE(program.exitCode(60000), 0);
            QCOMPARE(ReadIni("info", "handle", home.path() + "/prefs.ini"), "joe");
            QCOMPARE(ReadIniFileName("info", "mp3 path", home.path() + "/prefs.ini"), music);
            QByteArray out = program.out();
            QVERIFY2(out.endsWith('\n'), out);
            out.chop(1);
            QByteArrayList expected = {announced(QString::fromUtf8("Ðûñ² løªded ")), announced("user: joe"),
                                       announced("joe set path to " + music)};
            // The end of input is a way out: it says goodbye.
            expected.append(announced(QString::fromUtf8("Ðûñ² unløªded ")));
            QCOMPARE(out.split('\n'), expected);
            QVERIFY2(program.errors().contains("directøry: " + start.toUtf8()), program.errors());
            QVERIFY2(program.errors().contains(complaint), program.errors());
        }
    }
};

DUN2_TEST(FirstStartTerminalTest);
#include "tst_firststartterminal.moc"
