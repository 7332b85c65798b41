#include "chat/clientwindows.h"
#include "platform/chatclient.h"
#include "platform/desktop.h"
#include "platform/terminalface.h"
#include "support/testregistry.h"

#include <QTest>
#include <memory>
#include <unistd.h>

namespace {

// One document window of the client's MDI area and the classes of its
// children.
struct Document {
    QString caption;
    QStringList childClasses;
    bool visible = true;
};

const QStringList RoomClasses{"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static"};

// Builds the client's windows with the documents in z-order, top first.
struct ClientWindows {
    Desktop desktop;
    std::vector<WindowHandle> documents;   // top first, like the list given
    std::vector<WindowHandle> entryBoxes;  // the first RICHCNTL of each, or 0
    std::vector<QString> received;         // what each entry box posted with Enter

    explicit ClientWindows(const QList<Document> &list, const QString &frameClass = "AOL Frame25")
    {
        WindowHandle frame = desktop.createWindow(0, frameClass, "client");
        WindowHandle mdi = desktop.createWindow(frame, "mdiclient", QString()); // classes match in any case
        documents.resize(list.size());
        entryBoxes.resize(list.size());
        received.resize(list.size());
        // Each new window goes on top, so the bottom one is made first.
        for (qsizetype i = list.size() - 1; i >= 0; --i) {
            const Document &doc = list[i];
            documents[i] = desktop.createWindow(mdi, "AOL Child", doc.caption, doc.visible);
            for (qsizetype c = doc.childClasses.size() - 1; c >= 0; --c) {
                WindowHandle child = desktop.createWindow(documents[i], doc.childClasses[c], QString());
                if (doc.childClasses[c].compare("RICHCNTL", Qt::CaseInsensitive) == 0)
                    entryBoxes[i] = child;
            }
            desktop.setMessageHandler(entryBoxes[i], [this, i](WindowHandle box, quint32 message, quintptr code) {
                if (message == WindowMessage::Char && code == 13)
                    received[i] = desktop.getWindowText(box, desktop.getWindowTextLength(box) + 1);
            });
        }
    }
};

} // namespace

Q_DECLARE_METATYPE(Document)

class ClientWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void windowWalk_data()
    {
        QTest::addColumn<QList<Document>>("documents");
        QTest::addColumn<int>("room"); // index of the document found as the room, -1 for none
        QTest::addColumn<QString>("user");

        const Document welcomeBob{"Welcome, Bob!", {}};
        QTest::newRow("no documents") << QList<Document>{} << -1 << "";
        QTest::newRow("two rooms: the upper one")
            << QList<Document>{{"Upper", RoomClasses}, welcomeBob, {"Lower", RoomClasses}} << 0 << "Bob";
        QTest::newRow("a room without _AOL_Icon is skipped")
            << QList<Document>{{"Almost", {"RICHCNTL", "_AOL_Listbox", "_AOL_Static"}}, {"Room", RoomClasses},
                               welcomeBob}
            << 1 << "Bob";
        QTest::newRow("room classes in another order and case")
            << QList<Document>{{"Room", {"_aol_static", "_AOL_ICON", "RichCntl", "_AOL_Listbox"}}} << 0 << "";
        QTest::newRow("empty name") << QList<Document>{{"Welcome, !", {}}} << -1 << "";
        QTest::newRow("no exclamation mark") << QList<Document>{{"Welcome, Bob", {}}} << -1 << "";
        QTest::newRow("lower-case welcome is not the Welcome window")
            << QList<Document>{{"welcome, Bob!", {}}, {"Welcome, Ann!", {}}} << -1 << "Ann";
        QTest::newRow("the name ends at the first !") << QList<Document>{{"Welcome, Bo!b!", {}}} << -1 << "Bo";
        QTest::newRow("a hidden Welcome window is still found")
            << QList<Document>{{"Welcome, Bob!", {}, false}} << -1 << "Bob";
        QTest::newRow("first Welcome window wins")
            << QList<Document>{{"Welcome, Ann!", {}}, {"Welcome, Bob!", {}}} << -1 << "Ann";
    }

    void windowWalk()
    {
        QFETCH(QList<Document>, documents);
        QFETCH(int, room);
        QFETCH(QString, user);
        ClientWindows client(documents);

        QCOMPARE(FindChatRoom(client.desktop), room < 0 ? WindowHandle(0) : client.documents[room]);
        QCOMPARE(GetUser(client.desktop), user);

        ChatSend(client.desktop, "hello");
        for (qsizetype i = 0; i < documents.size(); ++i)
            QCOMPARE(client.received[i], i == room ? QString("hello") : QString());
    }

    void withoutClientEverythingIsEmpty()
    {
        ClientWindows client({{"Room", RoomClasses}, {"Welcome, Bob!", {}}}, "Other Frame");
        QCOMPARE(FindChatRoom(client.desktop), WindowHandle(0));
        QCOMPARE(GetUser(client.desktop), QString());
        ChatSend(client.desktop, "lost");
        HideWelcome(client.desktop);
        QCOMPARE(client.received[0], QString());
        QVERIFY(client.desktop.isVisible(client.documents[1]));
        QCOMPARE(GetText(client.desktop, 0), QString());
    }

    void welcomeHiddenAndShownAgain()
    {
        ClientWindows client({{"Room", RoomClasses}, {"Welcome, Bob!", {}}, {"Welcome, Bobby!", {}}});
        const WindowHandle welcome = client.documents[1];
        HideWelcome(client.desktop);
        QVERIFY(!client.desktop.isVisible(welcome));
        QVERIFY(client.desktop.isVisible(client.documents[2]));
        ShowWelcome(client.desktop);
        QVERIFY(client.desktop.isVisible(welcome));
    }

    void chatSendPutsBackAHalfTypedEntry()
    {
        Desktop desktop;
        ChatClient client(desktop, "Bob");
        const WindowHandle room = client.openRoom("Lobby");
        QString typing = "half a li";
        desktop.sendMessage(client.entryBox(room), WindowMessage::SetText, 0, &typing);
        ChatSend(desktop, "announcement");
        QCOMPARE(client.transcript(room).back().shown, QString("announcement"));
        QCOMPARE(client.transcript(room).back().screenName, QString("Bob"));
        QCOMPARE(GetText(desktop, client.entryBox(room)), typing);
        // An empty box stays empty and posts nothing more.
        QString none;
        desktop.sendMessage(client.entryBox(room), WindowMessage::SetText, 0, &none);
        ChatSend(desktop, "second");
        QCOMPARE(client.transcript(room).size(), std::size_t(2));
        QCOMPARE(GetText(desktop, client.entryBox(room)), QString());
    }

    // A network's room: what is posted (an announcement, a line typed on
    // the terminal) leaves through its poster, never as somebody else, and
    // the room shows only what the network delivers; the name the network
    // let the user hold is the one GetUser reads.
    void networkRoomAndTheNameHeld()
    {
        Desktop desktop;
        ChatClient client(desktop, "Bob");
        QStringList posted;
        WindowHandle room = 0;
        room = client.openRoom("#music", [&](const QString &text) {
            posted << text;
            if (text == "bye")
                client.closeRoom(room); // the poster may end the room it was called for
        });
        int pipeEnds[2];
        QCOMPARE(pipe(pipeEnds), 0);
        auto terminal = std::make_unique<TerminalFace>(client, pipeEnds[0], stdout);
        ChatSend(desktop, "announcement");
        QCOMPARE(write(pipeEnds[1], "/as bob hi\nhello\n", 17), 17);
        QTRY_COMPARE(posted, (QStringList{"announcement", "hello"}));
        QVERIFY(client.transcript(room).empty());
        terminal.reset();
        ::close(pipeEnds[1]);
        ::close(pipeEnds[0]);
        ChatSend(desktop, "bye");
        QCOMPARE(FindChatRoom(desktop), WindowHandle(0));

        HideWelcome(desktop);
        client.setScreenName("Bob_");
        QCOMPARE(GetUser(desktop), QString("Bob_"));
        QVERIFY(!desktop.isVisible(client.welcomeWindow()));
    }
};

DUN2_TEST(ClientWindowsTest);
#include "tst_clientwindows.moc"
