// The program as a user runs it on a real IRC network: the player joins a
// channel of a server started for the test, and raw participants say lines
// there and read what arrives.
#include "ircplayer.h"
#include "support/files.h"
#include "support/testregistry.h"


class IrcRoomTest : public QObject
{
    Q_OBJECT

private slots:
    // As a player for someone else on ngircd: only the owner commands, in
    // any colour; strangers, lookalike nicks and actions don't; and the room
    // comes back when the server does.
    void theOwnerCommandsAndTheRoomComesBack()
    {
        IrcStage stage(TestIrcServer::Kind::Ngircd);
        TestIrcServer &server = stage.server;
        QVERIFY(stage.start());
        Program player = stage.player();
        RawIrcClient boss(server, {.nick = "boss"});
        RawIrcClient eve(server, {.nick = "Boss_"});
        QVERIFY(inMusic(boss) && inMusic(eve) && player.saidOnError("in #music"));

        // The stranger's line is in before the owner speaks; what the player
        // says reaches the owner in order, so a wrong answer would come first.
        eve.say("#music", ".vol 50");
        QTRY_VERIFY(player.out().contains("Boss_:\t.vol 50\n"));
        boss.say("#music", "\x01" "ACTION .vol 50\x01");
        boss.say("#music", "\x02\x03" "04.mp3s?");
        // The exact codes of the program's first styled line.
        const auto fromThePlayer = [](const QByteArray &line) {
            return line.startsWith(":ceo-player!") && line.contains(" PRIVMSG ");
        };
        QVERIFY(boss.waitFor(fromThePlayer).endsWith(
            "PRIVMSG #music :\x03" "04..\xE2\x80\xBA \x03\x02mp3 count \x02" "1\x03" "04\xE2\x80\xA2\xC2\xB7 \xC2\xB7"));

        server.stop();
        QVERIFY(player.saidOnError("retrying in"));
        QVERIFY(server.start());
        QTRY_COMPARE_WITH_TIMEOUT(player.errors().count("dun2: in #music"), 2, 30000);
        {
            // While the owner is away, a nick that differs from theirs only in case is not theirs.
            RawIrcClient lookalike(server, {.nick = "BOSS"});
            QVERIFY(inMusic(lookalike));
            lookalike.say("#music", ".mp3s?");
            QTRY_VERIFY(player.out().contains("BOSS:\t.mp3s?\n"));
            QVERIFY(lookalike.quit());
        }
        RawIrcClient again(server, {.nick = "boss"});
        QVERIFY(inMusic(again));
        again.say("#music", ".mp3s?");
        QVERIFY(heard(again, inIrc("<b>mp3 count </b>1")));
        QTRY_COMPARE(player.out().count("mp3 count"), 2);
    }

    // With --owner-account the server must vouch for the owner's account:
    // the owner's nick without it commands nothing, in the channel or,
    // where strangers may speak from outside it, from there. There a line
    // is the owner's only with the account tag on it: the owner's earlier
    // tagged line vouches for nobody who takes the nick after the owner
    // quits, which the player, outside their channels, never sees. A server
    // that can't vouch for accounts is refused, as is one that can't take a
    // login.
    void theOwnersAccountIsVouchedFor()
    {
        IrcStage stage(TestIrcServer::Kind::Inspircd);
        TestIrcServer &server = stage.server;
        QVERIFY(stage.start() && server.registerAccount("bossaccount", "boss-secret"));
        RawIrcClient op(server, {.nick = "op"});
        QVERIFY(inMusic(op));
        op.send("MODE #music -n");
        QVERIFY(!op.waitFor("MODE #music :-n").isEmpty());
        Program player = stage.player({"--screen-name", "ceo-player", "--owner", "boss", "--owner-account", "bossaccount"});
        QVERIFY(player.saidOnError("in #music"));
        {
            RawIrcClient impostor(server, {.nick = "boss"});
            QVERIFY(inMusic(impostor));
            impostor.say("#music", ".mp3s?");
            QTRY_VERIFY(player.out().contains("boss (not logged in):\t.mp3s?\n"));
            // Gone for certain before the owner takes the nick.
            QVERIFY(impostor.quit());
        }
        {
            RawIrcClient boss(server, {.nick = "boss", .account = "bossaccount", .password = "boss-secret"});
            QVERIFY(inMusic(boss));
            boss.say("#music", ".mp3s?");
            // Read by op, who reads the answer from outside next.
            QVERIFY(heard(op, inIrc("<b>mp3 count </b>1")));
            QTRY_COMPARE(player.out().count("mp3 count"), 1);
            boss.send("PART #music");
            QTRY_VERIFY(player.out().contains("-- boss left #music"));
            boss.say("#music", ".mp3s?");
            QVERIFY(heard(op, inIrc("<b>mp3 count </b>1")));
            QVERIFY(boss.quit());
        }
        RawIrcClient stranger(server, {.nick = "boss"});
        QVERIFY(stranger.signOn());
        stranger.say("#music", ".vol 7");
        QTRY_VERIFY(player.out().contains("boss (not logged in):\t.vol 7\n"));
        // Whatever that line caused is out before a later one is shown.
        op.say("#music", "ok");
        QTRY_VERIFY(player.out().contains("op:\tok\n"));
        QCOMPARE(player.out().count("volume"), 0);

        IrcStage plain(TestIrcServer::Kind::Ngircd);
        QVERIFY(plain.start());
        Program refused = plain.player({"--screen-name", "ceo-player", "--owner", "boss", "--owner-account", "boss"});
        QVERIFY2(refused.saidOnError("can't vouch for accounts"), refused.errors());
        QCOMPARE(refused.exitCode(), 1);
        // Nor does it go on without the login it was given a password for.
        Program loginless = plain.player({"--screen-name", "ceo", "--irc-allow-plain-password"}, {"DUN2_IRC_PASSWORD=secret"});
        QVERIFY2(loginless.saidOnError("the server offers no SASL login, and a password was given"), loginless.errors());
        QCOMPARE(loginless.exitCode(), 1);
    }

    // As the user's own client over TLS with SASL: TLS trusts the system's
    // authorities and the one given, nothing else; typed lines and the
    // program's announcements are the user's, each seen once; a refused
    // login ends the program. A server that replays the channel's history
    // to whoever joins shows the player its own old lines again after a
    // kick: they are shown as earlier and never run again (an old exit
    // would end it on every rejoin). What the user types next is the first
    // line after the kick. A login that worked is kept through a restart
    // of the network before its services.
    void asTheUsersOwnClient()
    {
        IrcStage stage(TestIrcServer::Kind::Inspircd);
        TestIrcServer &server = stage.server;
        QVERIFY(stage.start() && server.registerAccount("ceo", "ceo-secret"));
        RawIrcClient op(server, {.nick = "op"});
        QVERIFY(inMusic(op));
        op.send("MODE #music +H 50:1d");
        QVERIFY(!op.waitFor("MODE #music +H").isEmpty());
        // The user's own client on #music over TLS.
        const QStringList overTls{"--screen-name", "ceo", "--irc",
                                  QStringLiteral("ircs://127.0.0.1:%1/#music").arg(server.tlsPort())};
        const QStringList arguments = overTls + QStringList{"--irc-ca", server.caFile()};
        {
            Program untrusting(stage.home.path(), overTls, {"DUN2_IRC_PASSWORD=ceo-secret"});
            QVERIFY(untrusting.saidOnError("certificate"));
            QVERIFY(!untrusting.errors().contains("in #music"));
        }
        {
            Program wrong(stage.home.path(), arguments, {"DUN2_IRC_PASSWORD=not-it"});
            QVERIFY2(wrong.saidOnError("SASL"), wrong.errors());
            QCOMPARE(wrong.exitCode(), 1);
        }
        Program player(stage.home.path(), arguments, {"DUN2_IRC_PASSWORD=ceo-secret"});
        RawIrcClient friendly(server, {.nick = "friendly", .caps = {"account-tag"}});
        QVERIFY(inMusic(friendly) && player.saidOnError("in #music"));
        player.type(".mp3s?");
        const QByteArray typed = friendly.waitFor("PRIVMSG #music :.mp3s?");
        QVERIFY2(typed.contains("account=ceo") && typed.contains(" :ceo!"), typed);
        QVERIFY(!friendly.waitFor("PRIVMSG #music :" + inIrc("<b>mp3 count </b>1")).isEmpty());
        // The server relays this after any echo of the user's own lines.
        friendly.say("#music", "bye");
        QTRY_VERIFY(player.out().contains("friendly:\tbye\n"));
        QCOMPARE(player.out().count("ceo:\t.mp3s?\n"), 1);
        QCOMPARE(player.out().count("mp3 count"), 1);

        const auto fromCeo = [](const QByteArray &line) { return line.startsWith(":ceo!") && line.contains(" PRIVMSG "); };
        QVERIFY(op.waitFor(fromCeo).endsWith(":.mp3s?"));
        QVERIFY(op.waitFor(fromCeo).endsWith(inIrc("<b>mp3 count </b>1")));
        op.send("KICK #music ceo :again");
        QTRY_VERIFY_WITH_TIMEOUT(player.out().contains("ceo (earlier):\t.mp3s?\n"), 20000);
        player.type(".mp3s?");
        QVERIFY(op.waitFor(fromCeo).endsWith(":.mp3s?"));
        QVERIFY(op.waitFor(fromCeo).endsWith(inIrc("<b>mp3 count </b>1")));
        // A line the moderated channel refuses is reported and never shown
        // as said, so never obeyed, though the server echoes our lines.
        op.send("MODE #music +m");
        QVERIFY(!op.waitFor("MODE #music").isEmpty());
        player.type(".vol 23");
        QVERIFY(player.saidOnOut("-- not delivered to #music: \".vol 23\" ("));
        op.send("MODE #music -m");
        QVERIFY(!op.waitFor("MODE #music").isEmpty());
        player.type("heard again");
        QVERIFY(player.saidOnOut("ceo:\theard again\n"));
        QVERIFY(!player.out().contains("ceo:\t.vol 23"));

        // The password is in no environment a child could inherit or /proc
        // shows; inspircd restarted without atheme offers no SASL, which the
        // player waits out, and it logs in again once atheme is back.
        const QByteArray seen = contents(QStringLiteral("/proc/%1/environ").arg(player.pid()));
        QVERIFY(seen.contains("HOME=") && !seen.contains("ceo-secret") && !seen.contains("DUN2_IRC_PASSWORD"));
        const qsizetype joins = player.errors().count("dun2: in #music");
        server.stop();
        QVERIFY(server.start(false));
        QVERIFY2(player.saidOnError("can't log in (the server offers no SASL login, and a password was given);"
                                    " retrying in", 60000),
                 player.errors());
        QVERIFY(server.startServices());
        QTRY_COMPARE_WITH_TIMEOUT(player.errors().count("dun2: in #music"), joins + 1, 90000);
        RawIrcClient again(server, {.nick = "friendly", .caps = {"account-tag"}});
        QVERIFY(inMusic(again));
        player.type(".mp3s?");
        QVERIFY(again.waitFor("PRIVMSG #music :.mp3s?").contains("account=ceo"));
    }

    // The nick held is the signed-on name: under a fallback nick the user's
    // own lines still command, on a server that echoes nothing. A player
    // for someone else never falls back to its owner's nick, which would
    // make its own lines the owner's; and it says once that it goes by the
    // nick alone.
    void theFallbackNick()
    {
        IrcStage stage(TestIrcServer::Kind::Ngircd);
        QVERIFY(stage.start());
        RawIrcClient holder(stage.server, {.nick = "ceo"});
        QVERIFY(inMusic(holder));
        {
            Program player = stage.player({"--screen-name", "ceo"});
            QVERIFY(player.saidOnError("in #music as ceo_"));
            player.type(".mp3s?");
            QVERIFY(holder.waitFor("PRIVMSG #music :.mp3s?").startsWith(":ceo_!"));
            QVERIFY(holder.waitFor("PRIVMSG #music :" + inIrc("<b>mp3 count </b>1")).startsWith(":ceo_!"));
            player.endInput();
            // ceo_ is free again once the server has relayed its leaving.
            QVERIFY(holder.waitFor(" QUIT ").startsWith(":ceo_!"));
        }
        Program player = stage.player({"--screen-name", "ceo", "--owner", "ceo_"});
        QVERIFY2(player.saidOnError("in #music as ceo2"), player.errors());
        QCOMPARE(player.errors().count("anyone who takes the nick ceo_ while its owner is away can command"), 1);
        RawIrcClient owner(stage.server, {.nick = "ceo_"});
        QVERIFY(inMusic(owner));
        owner.say("#music", ".mp3s?");
        QVERIFY(holder.waitFor("PRIVMSG #music :" + inIrc("<b>mp3 count </b>1")).startsWith(":ceo2!"));
    }
};

DUN2_TEST(IrcRoomTest);
#include "tst_ircroom.moc"
