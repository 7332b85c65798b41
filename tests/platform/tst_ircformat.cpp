#include "platform/irc/ircformat.h"
#include "support/testregistry.h"

#include <QTest>

class IrcFormatTest : public QObject
{
    Q_OBJECT

private slots:
    // Each way between the chat's markup and IRC's codes, on what a
    // stranger's line or an announcement may hold.
    void conversions()
    {
        using Convert = QString (*)(QStringView);
        const struct {
            Convert convert;
            QString from, to;
        } cases[] = {
            {IrcFromChatMarkup, "<b>a</b></b>b<I><u>c</u></i><b></b>", "\x02" "a\x02" "b\x1D\x1F" "c"},
            {IrcFromChatMarkup, "<font color=\"#FE0101\">r<font color='navy' size=7>n</font>r</font>x<font color=#00FF00></font>",
             "\x03" "04r\x03" "02n\x03" "04r\x03x"},
            // Near black is the reader's own, white stays.
            {IrcFromChatMarkup, "<font color=#202020>a<font color=white>b", "a\x03" "00b"},
            {IrcFromChatMarkup, "<font color=red>,5</font>1", "\x03" "04\x02\x02,5\x03\x02\x02" "1"},
            {IrcFromChatMarkup, "a &lt;b&gt; &amp;&quot;&#65;&#x42;&bogus;<br>c <blink>d</blink> < e\r\n\x02\x01",
             "a <b> &\"AB&bogus; c d < e    "},
            {StripIrcFormatting, "\x02" "b\x1Di\x1Fu\x1Es\x11m\x16r\x0Fo", "biusmro"},
            {StripIrcFormatting, "\x03" "04,12red\x03 \x03" "4x\x03,5 \x03" "1,x \x03" "12345", "red x,5 ,x 345"},
            {StripIrcFormatting, "\x04" "FF0000,00ff00hex\x04 \x04" "FF00x", "hex FF00x"},
            {ChatMarkupFromIrc, "<b>x</b> & y", "&lt;b&gt;x&lt;/b&gt; &amp; y"},
            {ChatMarkupFromIrc, "\x02" "bold\x02 \x1Dit\x1F" "both\x0Fplain\x16\x11\x1E",
             "<b>bold</b> <i>it</i><i><u>both</u></i>plain"},
            {ChatMarkupFromIrc, "\x03" "04red\x03" "12,01blue\x03 none \x04" "ff8800hex\x03" "99x\x03" "42y",
             "<font color=#FF0000>red</font><font color=#0000FC>blue</font> none <font color=#FF8800>hex</font>xy"},
            {ChatMarkupFromIrc, "\x02\x03" "4open\x02" "b\x1D" "i", "<font color=#FF0000><b>open</b>b<i>i</i></font>"},
        };
        for (const auto &c : cases)
            QCOMPARE(c.convert(c.from), c.to);
    }

    void split_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxBytes");
        QTest::addColumn<QStringList>("pieces");
        const QString wide = QString::fromUtf8("a\u00E9\u20AC\U0001F600"); // 1, 2, 3 and 4 bytes
        QTest::newRow("empty") << "" << 10 << QStringList{""};
        QTest::newRow("at a blank near the end") << "aaaa bbbbb" << 6 << QStringList{"aaaa ", "bbbbb"};
        QTest::newRow("not at a blank far back") << "aaaa bbbbb" << 8 << QStringList{"aaaa bbb", "bb"};
        QTest::newRow("between characters") << wide << 4 << QStringList{"a\u00E9", "\u20AC", "\U0001F600"};
        QTest::newRow("between graphemes") << "e\u0301e\u0301" << 4 << QStringList{"e\u0301", "e\u0301"};
        QTest::newRow("colour code whole and carried") << "ab\x03" "04cd" << 4
                                                       << QStringList{"ab", "\x03" "04c", "\x03" "04d"};
        QTest::newRow("hex colour carried") << "\x04" "ff8800ab" << 8 << QStringList{"\x04" "FF8800a", "\x04" "FF8800b"};
        QTest::newRow("formatting carried")
            << "\x02\x1D" "bold \x03" "4,12it\x0F plain" << 12
            << QStringList{"\x02\x1D" "bold ", "\x03" "04,12\x02\x1D" "it\x0F ", "plain"};
        QTest::newRow("a line of a server") << QString(200, u'\u20AC') << 510
                                            << QStringList{QString(170, u'\u20AC'), QString(30, u'\u20AC')};
        QTest::newRow("too small for the carried codes") << "\x02" "ab\x02\u00E9" << 2
                                                         << QStringList{"\x02" "a", "\x02" "b", "\u00E9"};
        QTest::newRow("too small for a character") << wide << 0 << QStringList{"a", "\u00E9", "\u20AC", "\U0001F600"};
    }

    void split()
    {
        QFETCH(QString, text);
        QFETCH(int, maxBytes);
        QTEST(SplitIrcText(text, maxBytes), "pieces");
    }

    // Whatever the size, every piece fits and nothing of the text is lost.
    void splitKeepsEverything()
    {
        const QString text = QString::fromUtf8("\x02" "Gr\u00FC\u00DFe \x03" "04,12\U0001F3B5 \x1Fq\u0301 \x0F")
                                 .repeated(2000);
        for (int maxBytes : {5, 9, 64, 510}) {
            const QStringList pieces = SplitIrcText(text, maxBytes);
            for (const QString &piece : pieces)
                QVERIFY(!piece.isEmpty() && piece.toUtf8().size() <= maxBytes);
            QCOMPARE(StripIrcFormatting(pieces.join("")), StripIrcFormatting(text));
        }
    }
};

DUN2_TEST(IrcFormatTest);
#include "tst_ircformat.moc"
