// What the user types in a real channel, as its other participants read it:
// text as typed, client commands never said, refused lines reported.
#include "ircplayer.h"
#include "support/testregistry.h"


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
        IrcStage stage(TestIrcServer::Kind::Ngircd);
        QVERIFY(stage.start({}));
        // In first, so bob is the channel's operator.
        RawIrcClient bob(stage.server, {.nick = "bob"});
        RawIrcClient nickServ(stage.server, {.nick = "NickServ"});
        QVERIFY(inMusic(bob) && nickServ.signOn());
        Program alice = stage.player({"--screen-name", "alice"});
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
        // Actions both ways are shown as actions.
        bob.say("#music", "\x01" "ACTION nods\x01");
        QTRY_VERIFY2(alice.out().contains("bob:\t<i>*nods*</i>\n"), alice.out().constData());
        QVERIFY(alice.out().contains("alice:\t<i>*waves*</i>\n"));

        // A long line is cut where IRC makes it, at a character boundary
        // and to fit with our real prefix, and nowhere else.
        const QByteArray longLine = QByteArray("\xE2\x82\xAC").repeated(200);
        alice.type(longLine);
        QByteArray joined;
        while (joined.size() < longLine.size()) {
            const QByteArray line = bob.waitFor(":alice!");
            QVERIFY2(line.contains(" PRIVMSG #music :") && line.size() <= 510, line.constData());
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
};

DUN2_TEST(IrcTypedTest);
#include "tst_irctyped.moc"
