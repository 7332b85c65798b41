// The session taking its nick back on real servers once whoever held it
// has gone: asked for with ISON on ngircd, told by MONITOR on inspircd.
#include "platform/chatclient.h"
#include "platform/desktop.h"
#include "platform/irc/ircroom.h"
#include "platform/irc/ircsession.h"
#include "support/ircservers.h"
#include "support/rawircclient.h"
#include "support/testregistry.h"

#include <QTest>

class IrcNickBackTest : public QObject
{
    Q_OBJECT

private slots:
    void theNickComesBackOnceFree()
    {
        for (const TestIrcServer::Kind kind : {TestIrcServer::Kind::Ngircd, TestIrcServer::Kind::Inspircd}) {
            TestIrcServer server(kind);
            QVERIFY(server.start(false));
            RawIrcClient holder(server, {.nick = "ceo"});
            QVERIFY(holder.signOn());
            IrcSession session({server.host(), server.port(), false}, {"ceo"}, "#music");
            // Inspircd's MONITOR must do it well before the default ISON's minute.
            IrcTimings timings;
            if (kind == TestIrcServer::Kind::Ngircd)
                timings.nickCheckMs = 500;
            session.setTimings(timings);
            Desktop desktop;
            ChatClient client(desktop, "ceo");
            IrcRoom room(client, session, {});
            session.start();
            QTRY_VERIFY_WITH_TIMEOUT(session.inChannel(), 15000);
            QCOMPARE(session.nick(), QStringLiteral("ceo_"));
            QTRY_COMPARE(client.screenName(), QStringLiteral("ceo_"));
            holder.send("QUIT :bye");
            QTRY_COMPARE_WITH_TIMEOUT(session.nick(), QStringLiteral("ceo"), 10000);
            QTRY_COMPARE(client.screenName(), QStringLiteral("ceo"));
        }
    }
};

DUN2_TEST(IrcNickBackTest);
#include "tst_ircleaving.moc"
