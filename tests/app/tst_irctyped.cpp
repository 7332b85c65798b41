// What the user types in a real channel, as its other participants read it:
// text as typed, client commands never said, refused lines reported.
#include "ircplayer.h"
#include "support/testregistry.h"

#include <QTemporaryDir>

namespace {

// A line as its sender wrote it, without the source the server put before it.
QByteArray withoutSource(const QByteArray &line)
{
    return line.mid(line.indexOf(' ') + 1);
}

} // namespace

class IrcTypedTest : public QObject
{
    Q_OBJECT

private slots:
    // On ngircd, as the user's own client: typed text arrives byte for byte,
    // the client commands do what they say and nothing else, an unknown one
    // is refused unsent, and a line the moderated channel refuses is
    // reported, never delivered.
    void typedLinesArriveAsTyped()
    {
        TestIrcServer server(TestIrcServer::Kind::Ngircd);
        QVERIFY(server.start());
        QTemporaryDir home;
        fillHome(home.path());
        // In first, so bob is the channel's operator.
        RawIrcClient bob(server, {.nick = "bob"});
        RawIrcClient nickServ(server, {.nick = "NickServ"});
        QVERIFY(bob.signOn() && bob.join("#music") && nickServ.signOn());
        Program alice(home.path(), {"--screen-name", "alice", "--irc", music(server)});
        QVERIFY(alice.saidOnError("in #music") && !bob.waitFor(" JOIN ").isEmpty());

        alice.type("<alice> vector<int> &lt; \xC3\xA9");
        QVERIFY(bob.waitFor(":alice!").endsWith("PRIVMSG #music :<alice> vector<int> &lt; \xC3\xA9"));
        // The faces get the user's line back as that same text.
        QVERIFY(alice.saidOnOut("alice:\t&lt;alice&gt; vector&lt;int&gt; &amp;lt; \xC3\xA9\n"));

        alice.type("/msg NickServ IDENTIFY pw");
        QVERIFY(nickServ.waitFor(":alice!").endsWith(" PRIVMSG NickServ :IDENTIFY pw"));
        alice.type("/frob secret");
        QVERIFY(alice.saidOnOut("-- /frob is not a command here (there are /me, /msg"));
        alice.type("/msg nobody IDENTIFY pw2");
        QVERIFY(alice.saidOnOut("-- a line was not delivered to nobody ("));
        QVERIFY(!alice.out().contains("pw2"));
        alice.type("/notice bob psst");
        alice.type("/me waves");
        alice.type("//etc/motd is //");
        // Everything bob saw of alice up to the sentinel, in order: no
        // password, nothing of /frob.
        QCOMPARE(withoutSource(bob.waitFor(":alice!")), "NOTICE bob :psst");
        QCOMPARE(withoutSource(bob.waitFor(":alice!")), "PRIVMSG #music :\x01" "ACTION waves\x01");
        QCOMPARE(withoutSource(bob.waitFor(":alice!")), "PRIVMSG #music :/etc/motd is //");

        // A long line is cut where IRC makes it, at a character boundary,
        // and nowhere else.
        const QByteArray longLine = QByteArray("\xE2\x82\xAC").repeated(200);
        alice.type(longLine);
        QByteArray joined;
        while (joined.size() < longLine.size()) {
            const QByteArray line = bob.waitFor(":alice!");
            QVERIFY(line.contains(" PRIVMSG #music :"));
            joined += line.mid(line.indexOf(" :") + 2);
        }
        QCOMPARE(joined, longLine);

        bob.send("MODE #music +m");
        QVERIFY(!bob.waitFor("MODE #music").isEmpty());
        alice.type("muted line");
        QVERIFY(alice.saidOnOut("-- not delivered to #music: \"muted line\" ("));
        alice.type("/topic Songs of the day");
        QVERIFY(bob.waitFor(":alice!").endsWith("TOPIC #music :Songs of the day"));
        alice.type("/topic");
        QVERIFY(alice.saidOnOut("-- the topic is: Songs of the day"));
        // ngircd echoes nothing: the refused line was never shown as said,
        // up to a sentinel that came later down the same link.
        QVERIFY(!alice.out().contains("alice:\tmuted line"));
        alice.type("/nick alice2");
        QVERIFY(bob.waitFor(":alice!").endsWith("NICK :alice2"));
        alice.type("/quit gone fishing");
        const QByteArray quit = bob.waitFor(":alice2!");
        QVERIFY2(quit.contains(" QUIT :") && quit.contains("gone fishing"), quit.constData());
        QCOMPARE(alice.exitCode(), 0);
    }

    // On inspircd, which echoes our lines: a line the moderated channel
    // refuses is reported and never shown as said, so never obeyed.
    void aRefusedLineIsNeverShownAsSaid()
    {
        TestIrcServer server(TestIrcServer::Kind::Inspircd);
        QVERIFY(server.start(false));
        QTemporaryDir home;
        fillHome(home.path());
        RawIrcClient bob(server, {.nick = "bob"});
        QVERIFY(bob.signOn() && bob.join("#music"));
        Program alice(home.path(), {"--screen-name", "alice", "--irc", music(server)});
        QVERIFY(alice.saidOnError("in #music") && !bob.waitFor(" JOIN ").isEmpty());
        bob.send("MODE #music +m");
        QVERIFY(!bob.waitFor("MODE #music").isEmpty());
        alice.type(".vol 23");
        QVERIFY(alice.saidOnOut("-- not delivered to #music: \".vol 23\" ("));
        bob.send("MODE #music -m");
        QVERIFY(!bob.waitFor("MODE #music").isEmpty());
        alice.type("heard again");
        QVERIFY(alice.saidOnOut("alice:\theard again\n"));
        QVERIFY(!alice.out().contains("alice:\t.vol 23"));
    }
};

DUN2_TEST(IrcTypedTest);
#include "tst_irctyped.moc"
