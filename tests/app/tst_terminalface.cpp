// The program as a user without a screen runs it, in its terminal face.
#include "app/programcore.h"
#include "chat/announcement.h"
#include "platform/inputbox.h"
#include "platform/messagebox.h"
#include "platform/terminalface.h"
#include "support/audiofiles.h"
#include "support/program.h"
#include "support/testregistry.h"
#include "support/world.h"
#include "windows/aboutwindow.h"
#include "windows/commandlist.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

struct Run {
    QByteArray out;
    QByteArray err;
    int exitCode = -1;
};

// The input, then its end; the program ends by itself once it is idle.
Run runProgram(const QString &home, const QByteArray &input, const QStringList &extraEnvironment = {},
               const QString &screenName = "alice", const QStringList &arguments = {})
{
    Program program(home, QStringList{"--screen-name", screenName} + arguments, extraEnvironment);
    program.write(input);
    const int exitCode = program.exitCode(60000);
    return {program.out(), program.errors(), exitCode};
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
    // here, nobody's line passes for somebody else's, and no control or
    // bidirectional character of theirs drives the terminal.
    void eachLineOfTheRoomIsOneLine()
    {
        QTemporaryDir home;
        makeMp3(home.filePath("x\nmallory:\tI am mallory.mp3"), 0.1);
        fillHome(home.path());
        const QByteArray input = ".p mallory\n/as bob hi \xC3\xB8 <b>x</b>\nplain words\n"
                                 "/as bob x\rmallory:\tI am mallory\x1b[2J\n/as eve\x7f\x01 \xC2\x85"
                                 "txt.3pm\xE2\x80\xAE \xE2\x81\xA7isolated\xE2\x81\xA9\n";
        Run run = runProgram(home.path(), input);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains(announced("<b>playing</b>: x mallory: I am mallory")), run.out);
        QVERIFY(run.out.contains("bob:\thi \xC3\xB8 <b>x</b>\n"));
        QVERIFY(run.out.contains("alice:\tplain words\n"));
        QVERIFY(run.out.contains("bob:\tx\\rmallory:\\tI am mallory\\x1b[2J\n"));
        QVERIFY(run.out.contains("eve\\x7f\\x01:\t\\u0085txt.3pm\\u202e \\u2067isolated\\u2069\n"));
        for (const char *raw : {"\x1b", "\x07", "\xE2\x80\xAE", "\xE2\x81\xA7"}) // ESC, BEL, U+202E, U+2067
            QVERIFY(!run.out.contains(raw));
        QVERIFY(!run.out.contains("\nmallory"));
    }

    void screenNameTheServiceWouldRefuse()
    {
        QTemporaryDir home;
        Run run = runProgram(home.path(), ".stop\n", {}, "jo!e");
        QVERIFY(run.exitCode > 0);
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(run.err.contains("screen name can't hold \"!\""), run.err);
    }

    // Until the network's room is there, nothing typed is said, and a
    // network that can't be joined as asked stops the program first.
    void aNetworkRoomNotYetJoined()
    {
        QTemporaryDir home;
        fillHome(home.path());
        const QStringList network{"--irc", "ircs://irc.example.org/#music"};
        Run run = runProgram(home.path(), "hello\n/as bob hi\n", {}, "alice", network);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(run.err.contains("dun2: joining #music on irc.example.org:6697\n"), run.err);
        QCOMPARE(run.err.count("dun2: not in a chat room; nobody hears that\n"), 2);
        run = runProgram(home.path(), "hello\n", {}, "alice", {"--irc", "ircs://h/#a b"});
        QVERIFY(run.exitCode > 0 && run.out.isEmpty());
        QVERIFY2(run.err.contains("dun2: the IRC address") && !run.err.contains("joining"), run.err);
    }

    void burstsOfLinesAreTakenInsideEachOthersWaits()
    {
        QTemporaryDir home;
        fillHome(home.path(), {"x"}); // listed, never plays
        // Far more waiting lines than waits may nest: the rest wait their turn.
        constexpr int burst = 3000;
        Run run = runProgram(home.path(), ".r\n.mp3s?\n.adv\n.mp3s?\n" + QByteArray(".adv\n").repeated(burst));
        QCOMPARE(run.exitCode, 0);
        const QByteArray count = announced("<b>mp3 count </b>1"), advEnd = announced("<b>a</b>o<b>l</b> 7-9");
        const qsizetype first = run.out.indexOf(count);
        const qsizetype second = run.out.indexOf(count, first + 1);
        QVERIFY(first >= 0 && first < run.out.indexOf(announced("<b>error</b>, can't play: x")));
        QVERIFY(second > first && second < run.out.indexOf(advEnd));
        QCOMPARE(run.out.count(advEnd), burst + 1);
    }

    // Built as main() builds it: no window at all, not even one never
    // shown, while the player and the chat commands work; the main window
    // is made only for a command that shows a window.
    void startsWithNoWindow()
    {
        TestWorld world("alice");
        makeMp3(world.musicDir() + "/a.mp3", 0.3);
        QVERIFY(QFile(world.musicDir() + "/notes.txt").open(QIODevice::WriteOnly)); // not a track
        world.writePreferences(world.musicDir(), "Ann");
        int input[2];
        QCOMPARE(pipe(input), 0);
        std::FILE *output = std::tmpfile();
        {
            TerminalFace terminal(world.client(), input[0], output);
            TerminalInputBox inputBox(terminal);
            TerminalMessageBox messageBox;
            Environment environment{world.desktop, world.client(), world.player, world.playerState,
                                    inputBox, messageBox, world.home(), &terminal};
            ProgramCore program(environment);
            program.start();
            const auto answered = [&](const QString &line, const QString &answer) {
                world.say(line);
                QTRY_VERIFY2(world.userLines().contains(TestWorld::styled(answer)), qPrintable(line));
            };
            for (const auto &[line, answer] : {std::pair{".mp3s?", "<b>mp3 count </b>1"},
                                               {".p a", "<b>playing</b>: a"},
                                               {".vol 50", "<b>volume</b> set 50%"},
                                               {".arand", "<b>a</b>uto <b>rand</b>om on"}})
                answered(line, answer);
            QCOMPARE(world.userLines().mid(0, 2), QStringList({TestWorld::styled(QString::fromUtf8("Ðûñ² løªded ")),
                                                               TestWorld::styled("user: Ann")}));
            QCOMPARE(QApplication::allWidgets().size(), 0);
            answered(".about", QString::fromUtf8("<b>about</b> Ðûñ²"));
            QVERIFY(program.hasMainWindow() && !QApplication::allWidgets().isEmpty());
        }
        ::close(input[1]);
        ::close(input[0]);
        std::fclose(output);
    }

    // The command list and the about text are printed for the user, never
    // said in the room; windows used by pointing say once that they need a
    // display. Every command says its line as on a screen.
    void textWindowsArePrintedOnTheTerminal()
    {
        QTemporaryDir home;
        fillHome(home.path());
        Run run = runProgram(home.path(), ".coms\n.about\n.styles\n.create\n.styles\n.new path\n.mp3s?\n");
        QCOMPARE(run.exitCode, 0);
        // Each printed whole, on lines of its own, none of them said in the room.
        for (const QStringList &printed : {CommandList::commandLines(), AboutWindow::textLines()})
            QVERIFY2(run.out.contains("\n" + printed.join('\n').toUtf8() + "\n"), run.out);
        for (const QByteArray &line : run.out.split('\n'))
            QVERIFY2(!line.startsWith("alice:\t") || !(line.contains("view coms") || line.contains("Made by")), line);
        // Every command said its line, up to the sentinel.
        for (const QString &said : QStringList{"<b>v</b>i<b>ewing</b> coms", QString::fromUtf8("<b>about</b> Ðûñ²"),
                                                "<b>viewing</b> styles ", "<b>creating</b> style ",
                                                "<b>searching</b> for new directory", "<b>mp3 count </b>0"})
            QVERIFY2(run.out.contains(announced(said)), qPrintable(said));
        for (const char *window : {"style chooser", "style editor", "path chooser"})
            QCOMPARE(run.err.count(QByteArray("dun2: the ") + window + " needs a display\n"), 1);
    }

    // GStreamer with no plugins at all: every command still answers, a good
    // track is refused, and the reason is given once.
    void withoutASoundSystemTheProgramStillAnswers()
    {
        QTemporaryDir home;
        makeMp3(home.path() + "/a.mp3", 0.3);
        const QByteArray input = "Joe\n" + home.path().toUtf8() + "\n.mp3s?\n.next\n.r\n.vol 50\n.mute\n";
        Run run = runProgram(home.path(), input,
                             {"GST_PLUGIN_SYSTEM_PATH_1_0=/nonexistent", "GST_PLUGIN_PATH_1_0=",
                              "GST_REGISTRY_1_0=" + home.path() + "/registry.bin"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains(announced("<b>mp3 count </b>1")), run.out);
        QVERIFY2(run.out.count(announced("<b>error</b>, can't play: a")) == 2, run.out);
        QVERIFY2(run.out.contains(announced("<b>mp3</b> player mute")), run.out);
        QCOMPARE(run.err.count("no track can play"), 1);
    }
};

DUN2_TEST(TerminalFaceTest);
#include "tst_terminalface.moc"
