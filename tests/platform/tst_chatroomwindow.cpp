#include "platform/chatclient.h"
#include "platform/chatmarkup.h"
#include "platform/chatroomwindow.h"
#include "support/testregistry.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <sys/stat.h>

namespace {

QTextCharFormat formatOf(const QTextBlock &block, const QString &text)
{
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (it.fragment().text() == text)
            return it.fragment().charFormat();
    return {};
}

} // namespace

class ChatRoomWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void entryLineAndTheRowForSomeoneElse()
    {
        Desktop desktop;
        ChatClient client(desktop, "Ann");
        WindowHandle room = client.openRoom("Lobby");
        ChatRoomWindow window(client);
        QVERIFY(!window.otherRow()->isHidden());
        QSignalSpy lines(&client, &ChatClient::lineReceived);

        QTest::keyClick(window.entryLine(), Qt::Key_Return); // an empty box posts nothing
        QTest::keyClicks(window.entryLine(), "half");
        WindowHandle entry = client.entryBox(room);
        QCOMPARE(desktop.getWindowText(entry, 100), QString("half"));
        // Whatever sets the box's text shows in the line, and Enter posts it.
        QString text = "<b>bold</b> & more";
        desktop.sendMessage(entry, WindowMessage::SetText, 0, &text);
        QCOMPARE(window.entryLine()->text(), text);
        QTest::keyClick(window.entryLine(), Qt::Key_Return);
        QCOMPARE(window.entryLine()->text(), QString());

        QTest::keyClick(window.otherText(), Qt::Key_Return); // nobody named: nothing said
        window.otherName()->setText("<i>Zed</i>");
        QTest::keyClicks(window.otherText(), ".stop");
        QTest::keyClick(window.otherText(), Qt::Key_Return);
        QCOMPARE(window.otherText()->text(), QString());
        QCOMPARE(lines.count(), 2);
        QCOMPARE(client.transcript(room).front().screenName, QString("Ann"));
        QCOMPARE(client.transcript(room).front().shown, text);
        QCOMPARE(client.transcript(room).back().screenName, QString("<i>Zed</i>"));
        // A line's HTML is rendered, the speaker's name is not.
        QCOMPARE(window.transcriptView()->toPlainText(), QString("Ann: bold & more\n<i>Zed</i>: .stop"));
    }

    // A network's room comes and goes: what was said stays in view, the
    // entry line keeps what was typed until there is a room to say it in,
    // and the state of the link shows.
    void followsARoomThatComesAndGoes()
    {
        Desktop desktop;
        ChatClient client(desktop, "Ann");
        ChatRoomWindow window(client);
        QVERIFY(!window.entryLine()->isEnabled() && !window.statusLine()->isHidden());
        const auto poster = [](const QString &) {};
        WindowHandle room = client.openRoom("#music", poster);
        QVERIFY(window.entryLine()->isEnabled() && window.statusLine()->isHidden());
        QVERIFY(window.otherRow()->isHidden()); // nobody can speak for others on a network
        client.deliver(room, {"bob", "hi", "<b>hi</b>"});
        QTest::keyClicks(window.entryLine(), "half");

        client.closeRoom(room);
        client.setStatus("lost the link; retrying in 2 s");
        QVERIFY(!window.entryLine()->isEnabled());
        QCOMPARE(window.statusLine()->text(), client.status());
        room = client.openRoom("#music", poster);
        client.setStatus("");
        client.setScreenName("Ann_");
        QVERIFY(window.entryLine()->isEnabled() && window.statusLine()->isHidden());
        QCOMPARE(desktop.getWindowText(client.entryBox(room), 100), QString("half"));
        QCOMPARE(window.windowTitle(), QString("#music - Ann_"));
        client.deliver(room, {"Ann_", "first", "first"});
        QCOMPARE(window.transcriptView()->toPlainText(), QString("bob: hi\nAnn_: first"));
        QCOMPARE(formatOf(window.transcriptView()->document()->firstBlock(), "hi").fontWeight(), int(QFont::Bold));
    }

    // Each hostile line would keep the window thread busy, block it on the
    // FIFO (the test's time limit catches that) or eat memory if its HTML
    // were laid out; a room shows what a chat room shows, and nothing more.
    void showsOnlyWhatAChatRoomShows()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("fifo");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        Desktop desktop;
        ChatClient client(desktop, "Ann");
        WindowHandle room = client.openRoom("Lobby");
        client.say(room, "Mal", QString("<table><tr><td>").repeated(40) + "deep");
        ChatRoomWindow window(client);
        window.show();
        client.say(room, "Mal", "<img src=\"" + fifo + "\"><img src=\"/dev/zero\"><img src=\"http://127.0.0.1:9/\">");
        client.say(room, "Mal", "<style>p{}</style><link rel=stylesheet href=/dev/zero><a href=\"file:///\">link</a>");
        client.say(room, "Mal\nBob", QString(1 << 20, u'y'));
        client.say(room, "Bob", "<B>bold</b> <i>it</i> <u>u</u> <font color=#00ff00 face='Serif' size=6>big</font>"
                                " a&lt;b&#33;&bogus;<br>next <blink>x</blink> < y\r\n");
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.grab(); // laid out and painted

        const QTextDocument *document = window.transcriptView()->document();
        const QStringList expected{"Mal: deep", "Mal: ", "Mal: p{}link",
                                   "Mal Bob: " + QString(ChatLineShown, u'y') + ChatLineCutMark.toString(),
                                   "Bob: bold it u big a<b!&bogus;\u2028next x < y  "};
        QCOMPARE(document->blockCount(), int(expected.size()));
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            QCOMPARE(block.text(), expected[block.blockNumber()]);
            for (auto it = block.begin(); !it.atEnd(); ++it)
                QVERIFY(!it.fragment().charFormat().isImageFormat() && !it.fragment().charFormat().isAnchor());
        }
        const QTextBlock last = document->lastBlock();
        const QTextCharFormat big = formatOf(last, "big");
        QVERIFY(formatOf(last, "bold").fontWeight() == QFont::Bold && formatOf(last, "it").fontItalic()
                && formatOf(last, "u").fontUnderline());
        QVERIFY(big.foreground().color() == QColor(Qt::green) && big.fontFamilies().toStringList() == QStringList{"Serif"}
                && big.fontPointSize() == 2 * document->defaultFont().pointSizeF());

        // A room that runs for weeks forgets the formats of lines gone (each
        // line here brings 32 new colours) and keeps as many lines as the client.
        for (qsizetype i = 0, formats = 0; document->allFormats().size() >= formats; ++i) {
            QVERIFY(i < 3 * qsizetype(ChatClient::TranscriptLength));
            formats = document->allFormats().size();
            QString line;
            for (qsizetype c = 0; c < 32; ++c)
                line += QString("<font color=#%1>x</font>").arg(i * 32 + c, 6, 16, QChar('0'));
            client.say(room, "Bob", line);
        }
        for (std::size_t i = 0; i < ChatClient::TranscriptLength; ++i)
            client.say(room, "Bob", "x");
        QCOMPARE(std::size_t(document->blockCount()), ChatClient::TranscriptLength);
    }
};

DUN2_TEST(ChatRoomWindowTest);
#include "tst_chatroomwindow.moc"
