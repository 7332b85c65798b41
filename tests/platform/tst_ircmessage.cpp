#include "platform/irc/ircmessage.h"
#include "support/testregistry.h"

#include <QTest>

using Tags = std::vector<std::pair<QString, QString>>;
Q_DECLARE_METATYPE(Tags)

class IrcMessageTest : public QObject
{
    Q_OBJECT

private slots:
    // Cases from the IRCv3 parser tests (msg-split), and what servers
    // and strangers may send that a parser gets wrong.
    void parse_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<Tags>("tags");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("params");

        QTest::newRow("plain") << QByteArray("foo bar baz asdf") << Tags{} << "" << "FOO"
                               << QStringList{"bar", "baz", "asdf"};
        QTest::newRow("source and trailing") << QByteArray(":coolguy foo bar baz :asdf quux") << Tags{} << "coolguy"
                                             << "FOO" << QStringList{"bar", "baz", "asdf quux"};
        QTest::newRow("empty trailing") << QByteArray(":coolguy PRIVMSG bar :") << Tags{} << "coolguy" << "PRIVMSG"
                                        << QStringList{"bar", ""};
        QTest::newRow("trailing colons and blanks") << QByteArray(":coolguy PRIVMSG bar :  :lol ") << Tags{}
                                                    << "coolguy" << "PRIVMSG" << QStringList{"bar", "  :lol "};
        QTest::newRow("many blanks between") << QByteArray(":src   JOIN   #chan") << Tags{} << "src" << "JOIN"
                                             << QStringList{"#chan"};
        QTest::newRow("numeric") << QByteArray(":irc.example.com 001 ceo :Welcome") << Tags{} << "irc.example.com"
                                 << "001" << QStringList{"ceo", "Welcome"};
        QTest::newRow("escaped tags") << QByteArray("@a=b\\\\and\\nk;c=72\\s45;d=gh\\:764 foo") << Tags{
            {"a", "b\\and\nk"}, {"c", "72 45"}, {"d", "gh;764"}} << "" << "FOO" << QStringList{};
        QTest::newRow("odd escapes and bare keys") << QByteArray("@k=\\b\\;x;y=;z=end\\ :a!b@c PRIVMSG #c :hi")
                                                   << Tags{{"k", "b"}, {"x", ""}, {"y", ""}, {"z", "end"}}
                                                   << "a!b@c" << "PRIVMSG" << QStringList{"#c", "hi"};
        QTest::newRow("vendor tag, the last of a key counts")
            << QByteArray("@tag=1;example.com/x=y;tag=2 :n!u@h PRIVMSG #c :x")
            << Tags{{"example.com/x", "y"}, {"tag", "2"}} << "n!u@h" << "PRIVMSG" << QStringList{"#c", "x"};
        QTest::newRow("Windows-1252 text") << QByteArray(":n PRIVMSG #c :caf\xe9") << Tags{} << "n" << "PRIVMSG"
                                           << QStringList{"#c", QString::fromUtf8("café")};
    }

    void parse()
    {
        QFETCH(QByteArray, line);
        const std::optional<IrcMessage> message = ParseIrcMessage(line);
        QVERIFY(message);
        QFETCH(Tags, tags);
        QFETCH(QString, source);
        QFETCH(QString, command);
        QFETCH(QStringList, params);
        QCOMPARE(message->tags, tags);
        QCOMPARE(message->source, source);
        QCOMPARE(message->command, command);
        QCOMPARE(message->params, params);
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

    void linesSent()
    {
        QCOMPARE(IrcLine("PRIVMSG", {"#music", "hello there"}), QByteArray("PRIVMSG #music :hello there"));
        QCOMPARE(IrcLine("PRIVMSG", {"#music", ":)"}), QByteArray("PRIVMSG #music ::)"));
        QCOMPARE(IrcLine("PRIVMSG", {"#music", ""}), QByteArray("PRIVMSG #music :"));
        QCOMPARE(IrcLine("JOIN", {"#music"}), QByteArray("JOIN #music"));
        QCOMPARE(IrcLine("CAP", {"REQ", "echo-message account-tag"}), QByteArray("CAP REQ :echo-message account-tag"));
        QCOMPARE(IrcLine("PRIVMSG", {"#music", QString::fromUtf8("Ðûñ²")}), QString::fromUtf8("PRIVMSG #music Ðûñ²").toUtf8());
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
