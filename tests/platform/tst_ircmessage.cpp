#include "platform/irc/ircmessage.h"
#include "support/testregistry.h"

#include <QTest>

class IrcMessageTest : public QObject
{
    Q_OBJECT

private slots:
    // Cases from the IRCv3 parser tests (msg-split), and what servers and
    // strangers may send that a parser gets wrong. Each message reads as its
    // tags (key=value), source, command and parameters.
    void parse_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("message");
        const auto row = [](const char *name, const QByteArray &line, const QStringList &message) {
            QTest::newRow(name) << line << message;
        };
        row("plain", "foo bar baz asdf", {"", "FOO", "bar", "baz", "asdf"});
        row("source and trailing", ":coolguy foo bar baz :asdf quux", {"coolguy", "FOO", "bar", "baz", "asdf quux"});
        row("empty trailing", ":coolguy PRIVMSG bar :", {"coolguy", "PRIVMSG", "bar", ""});
        row("trailing colons and blanks", ":coolguy PRIVMSG bar :  :lol ", {"coolguy", "PRIVMSG", "bar", "  :lol "});
        row("many blanks between", ":src   JOIN   #chan", {"src", "JOIN", "#chan"});
        row("escaped tags", "@a=b\\\\and\\nk;c=72\\s45;d=gh\\:764 foo", {"a=b\\and\nk", "c=72 45", "d=gh;764", "", "FOO"});
        row("odd escapes and bare keys", "@k=\\b\\;x;y=;z=end\\ :a!b@c PRIVMSG #c :hi",
            {"k=b", "x=", "y=", "z=end", "a!b@c", "PRIVMSG", "#c", "hi"});
        row("vendor tag, the last of a key counts", "@tag=1;example.com/x=y;tag=2 :n!u@h PRIVMSG #c :x",
            {"example.com/x=y", "tag=2", "n!u@h", "PRIVMSG", "#c", "x"});
        row("Windows-1252 text", ":n PRIVMSG #c :caf\xe9", {"n", "PRIVMSG", "#c", QString::fromUtf8("café")});
        row("each part decoded on its own", "@t=\xc3\xa9 :n\xe9 PRIVMSG #mus\xc3\xadk :caf\xe9",
            {QString::fromUtf8("t=é"), QString::fromUtf8("né"), "PRIVMSG", QString::fromUtf8("#musík"),
             QString::fromUtf8("café")});
    }

    void parse()
    {
        QFETCH(QByteArray, line);
        const std::optional<IrcMessage> message = ParseIrcMessage(line);
        QVERIFY(message);
        QStringList read;
        for (const auto &[key, value] : message->tags)
            read << key + '=' + value;
        QTEST(read << message->source << message->command << message->params, "message");
    }

    void notMessages()
    {
        for (const char *line : {"", "   ", "@a=b", "@a=b :src", ":src"})
            QVERIFY2(!ParseIrcMessage(line), line);
        QCOMPARE(ParseIrcMessage(":ceo!u@h PRIVMSG #c :x")->nick(), QString("ceo"));
        QCOMPARE(ParseIrcMessage(":ceo@h PRIVMSG #c :x")->nick(), QString("ceo"));
        QVERIFY(!ParseIrcMessage("@a PING")->tag("b"));
        QCOMPARE(ParseIrcMessage("@a PING")->tag("a"), QString());
    }

    // What the servers take in every other test is left to them; here what
    // a user's text can hold.
    void linesSent()
    {
        QCOMPARE(IrcLine("PRIVMSG", {"#music", ":)"}), QByteArray("PRIVMSG #music ::)"));
        QCOMPARE(IrcLine("PRIVMSG", {"#music", ""}), QByteArray("PRIVMSG #music :"));
        // Nothing a caller passes can end the line or shift a parameter.
        for (const QStringList &params : {QStringList{"#c", "a\r\nQUIT :bye"}, QStringList{"#c", QString("a") + QChar(0)},
                                          QStringList{"#c x", "hi"}, QStringList{":#c", "hi"}, QStringList{"", "hi"}})
            QVERIFY2(!IrcLine("PRIVMSG", params), qPrintable(params.join('|')));
        QVERIFY(!IrcLine("PRIV MSG", {"#c"}));
        QVERIFY(!IrcLine(""));
    }
};

DUN2_TEST(IrcMessageTest);
#include "tst_ircmessage.moc"
