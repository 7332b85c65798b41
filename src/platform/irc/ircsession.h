// The chat client's link to one channel of an IRC network: it connects,
// logs in, joins, keeps the link alive and comes back after it is lost,
// and carries the channel's lines both ways. Everything a server or a
// participant sends is data; nothing here blocks the window thread.
#pragma once

#include "platform/irc/ircaccounts.h"
#include "platform/irc/irccapabilities.h"
#include "platform/irc/ircctcp.h"
#include "platform/irc/ircinbox.h"
#include "platform/irc/ircpacer.h"
#include "platform/irc/ircreader.h"
#include "platform/irc/ircverdicts.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSslCertificate>
#include <QSslError>
#include <QTimer>
#include <array>
#include <deque>
#include <functional>

class QSslSocket;
struct IrcMessage;

struct IrcEndpoint {
    QString host;
    quint16 port = 6697;
    bool tls = true;
    // A certificate authority trusted besides the system's (PEM).
    QString caFile{};
};

struct IrcLogin {
    QString nick;
    // SASL PLAIN when not empty; the session then never goes on without it.
    QString password{};
    // The account to log in to; the nick when empty.
    QString account{};
    // A nick never taken as a fallback: the owner's, whose lines would then
    // be ours and who would find their nick held.
    QString othersNick{};
    // Sent as PASS before registering, for servers and bouncers that ask one.
    QString serverPassword{};
};

// How long the link waits for what; tests shorten them.
struct IrcTimings {
    int probeAfterMs = 90'000;  // silence before a PING asks whether the server is there
    int dropAfterMs = 60'000;   // no answer to that PING: the link is dead
    int firstRetryMs = 2'000;   // doubling from here, with jitter
    int maxRetryMs = 300'000;
    int kickRejoinMs = 5'000;
    int stableMs = 60'000;      // in the channel this long: the waits start short again
    int paceStepMs = 2'000;     // each line sent moves the message timer this far
    int registerMs = 60'000;    // from connecting to the welcome (001), or the link is dropped
    int motdWaitMs = 10'000;    // after the welcome, the join goes without waiting for the MOTD's end
    int joinAnswerMs = 30'000;  // a JOIN unanswered this long is sent again later
    int leaveSendMs = 10'000;   // leaving: the queued lines' time to go before the QUIT
    int quitCloseMs = 3'000;    // after the QUIT, for the server to close the link
    int nickCheckMs = 60'000;   // under a fallback nick, on a server without MONITOR: how often ISON asks for ours
};

class IrcSession : public QObject
{
    Q_OBJECT

public:
    IrcSession(IrcEndpoint endpoint, IrcLogin login, QString channel, QString channelKey = {},
               QObject *parent = nullptr);
    ~IrcSession() override;

    void setTimings(const IrcTimings &timings)
    {
        m_timings = timings;
        m_pacer.setStepMs(timings.paceStepMs);
    }
    void start();
    // Leaves the network for good (QUIT); no retry follows.
    void stop(const QString &reason = {});
    // Leaves as the program ends: the lines still queued go first, paced,
    // for at most leaveSendMs; then the QUIT, and `done` once the server
    // has closed the link or quitCloseMs has passed, with the text of each
    // of our lines that could not go. Nothing retries after it.
    using Left = std::function<void(const QStringList &undelivered)>;
    void leave(const QString &reason, Left done);

    // A line for the channel in IRC formatting, cut into pieces that fit and
    // sent in order at the paced rate. False, and nothing sent, when the
    // client is not in the channel (the room does not exist then) or the
    // send queue is full.
    // Lines of a more urgent class go first (postpriority.h).
    bool say(const QString &ircText, PostPriority priority = PostPriority::Reply)
    {
        return send(ircText, false, priority);
    }
    // The same as a CTCP ACTION (/me).
    bool act(const QString &ircText, PostPriority priority = PostPriority::Reply)
    {
        return send(ircText, true, priority);
    }
    // A PRIVMSG or NOTICE to a nick, never the channel, cut and paced as the
    // channel's lines are; what a server refuses is told to the user.
    bool tell(const QString &command, const QString &target, const QString &text);
    // Asks the server for another nick; the nick changes when it agrees.
    bool changeNick(const QString &nick);
    // Asks for the channel's topic (shown in the status), or sets it.
    bool topic(const std::optional<QString> &text);

    bool inChannel() const { return m_inChannel; }
    QString nick() const { return m_nick; }
    QString channel() const { return m_channel; }
    // Final once `registered` has been sent.
    bool hasCap(const QString &cap) const { return m_caps.has(cap); }
    bool vouchesForAccounts() const { return m_caps.vouchesForAccounts(); }
    QString status() const { return m_status; }

    // What a server may make the session keep at most: its capability list,
    // the accounts of the channel's members, a partial line and the replies
    // it asked for. The lines waiting for the listeners are not counted:
    // reading stops while too many wait. A server that overfills a cache
    // loses its link.
    static constexpr qsizetype MaxHeldBytes = IrcCapabilities::MaxBytes + IrcAccounts::MaxBytes
                                              + IrcLineReader::MaxLineBytes + 1 + IrcPacer::MaxProtocolBytes;
    qsizetype heldBytes() const;
    // Bytes as read from the server, handled line by line. The link reads
    // through here; the fuzz target drives the same road without a network.
    void takeServerBytes(QByteArrayView bytes);

signals:
    void statusChanged(const QString &status);
    void registered();
    // Fatal (a refused login, an unreadable CA file): the session has stopped.
    void failed(const QString &why);

    // These come in the order the server's lines came, one per turn of the
    // event loop and only while the line gate (nestedloop.h) is open.
    void joined(const QString &channel);
    void left(const QString &why);
    void nickChanged(const QString &nick);
    // The server withdrew or offered again what vouches for accounts.
    void vouchingChanged(bool vouches);
    // account: the services account the server vouches for, "" when none.
    // own: a line of ours (the server's echo, or, on a server that does not
    // echo, ours once the server has answered past it). A NOTICE is never a line:
    // bots answer none, so two of them in one channel cannot loop.
    // earlier: said before we joined, replayed by the server or a bouncer;
    // to be shown, never obeyed.
    void channelLine(const QString &nick, const QString &ircText, bool action, const QString &account, bool own,
                     bool earlier);
    // A PRIVMSG to us alone, with what vouches for its sender as for a
    // channel line's.
    void privateLine(const QString &nick, const QString &ircText, bool action, const QString &account, bool earlier);
    // The channel's life apart from its lines, as plain text: the topic,
    // others joining, leaving or renamed, a NOTICE to the channel or to us.
    void noticed(const QString &text);

private:

    enum class RetryAction { Connect, Join };
    // Where this link's SASL login stands: only an exchange in progress can
    // be refused.
    enum class Sasl { NotStarted, Exchanging, LoggedIn };

    bool send(const QString &ircText, bool action, PostPriority priority);
    bool queue(const QString &command, const QString &target, const QString &ircText, bool action,
               PostPriority priority);
    int pieceBytes(const QString &command, const QString &target, bool action) const;
    bool sendProtocol(const QString &command, const QStringList &params = {});
    void pump();

    void connectNow();
    void onConnected();
    void onSslErrors(const QList<QSslError> &errors);
    void onSocketError();
    void onQuiet();
    void heard();
    void loseLink(const QString &reason);
    void retryLater(const QString &why, RetryAction action, int delayMs);
    void retryNow();
    int nextDelay();
    void fail(const QString &why);
    void quitWhenSent();
    void sendQuit();
    void finishLeaving();
    QStringList takeUnsent();
    void dropSocket();
    void setStatus(const QString &status);

    void readLater();
    void acknowledgeAtOnce();
    void readSome();
    bool listenersBehind() const;
    void handle(const IrcMessage &message);
    void dropIfOverfilled(const IrcMessage &message);
    void handleCap(const IrcMessage &message);
    void requestCaps();
    void capsChangedFrom(bool vouched);
    void handleSasl(const IrcMessage &message);
    void saslRefused(const IrcMessage &message);
    void saslSucceeded();
    void loginFailed(const QString &why);
    void endCaps();
    void handleWelcome(const IrcMessage &message);
    void handleSupport(const IrcMessage &message);
    void handleNickRefused(const IrcMessage &message);
    void setNick(const QString &nick);
    void handleNick(const IrcMessage &message);
    QString wantedNick() const { return m_login.nick.left(m_nickLength); }
    void watchNick();
    void nickFree(const QString &nick);
    void joinChannel();
    void joinTimedOut();
    void handleJoin(const IrcMessage &message);
    void handlePart(const IrcMessage &message);
    void handleKick(const IrcMessage &message);
    void removedFromChannel(const QString &why);
    void joinRefused(const IrcMessage &message);
    QString leaveChannel(const QString &why);
    void handlePrivmsg(const IrcMessage &message);
    void answerCtcp(const QString &nick, const QString &query);
    void handleNotice(const IrcMessage &message);
    void handleTopic(const IrcMessage &message);
    void sendRefused(const IrcMessage &message);
    void showTopic(const IrcMessage &message);
    void handleBatch(const IrcMessage &message);
    bool saidBeforeWeJoined(const IrcMessage &message) const;
    bool isChannel(const QString &target) const;
    bool isMe(const QString &nick) const { return m_accounts.sameNick(nick, m_nick); }
    void learnPrefix(const QString &source);

    void post(IrcInbox::Event event);
    void postLine(IrcInbox::Line line);
    // Only while in the channel: outside it there is no room to show it in.
    void notice(const QString &text);
    // An answer or refusal of the server's, for the user alone.
    void report(const QString &text);
    void deliverLater();
    void deliver();

    IrcEndpoint m_endpoint;
    IrcLogin m_login;
    QString m_channel;
    QString m_channelKey;
    IrcTimings m_timings;

    QList<QSslCertificate> m_extraCas;
    QSslSocket *m_socket = nullptr;
    // Counts links, so that a loop over one link's lines sees it end.
    quint64 m_linkId = 0;
    IrcLineReader m_reader;
    IrcPacer m_pacer;
    IrcAccounts m_accounts;
    IrcCtcp m_ctcp;
    QTimer m_sendTimer;
    QTimer m_quietTimer;
    QTimer m_retryTimer;
    QTimer m_stableTimer;
    // Registration's deadline.
    QTimer m_registerTimer;
    // While registered and outside the channel with no retry planned: when
    // to join (after the welcome) or to try again (after an unanswered JOIN).
    QTimer m_joinTimer;
    // Leaving: the queued lines' deadline, then the server's to close the link.
    QTimer m_leaveTimer;
    Left m_leaveDone;
    QString m_quitReason;
    bool m_quitSent = false;
    QStringList m_undelivered;
    // Under a fallback nick, on a server without MONITOR: when to ask for ours.
    QTimer m_nickTimer;
    // The server tells when a nick is free (005 MONITOR).
    bool m_monitor = false;
    bool m_nickWatched = false;
    // Why the server says it is closing the link (ERROR), or the TLS refusal.
    QString m_closeReason;

    QString m_status;
    bool m_started = false;
    bool m_stopped = false;
    bool m_linkUp = false;
    bool m_probing = false;
    bool m_registered = false;
    bool m_joinSent = false;
    bool m_inChannel = false;
    bool m_kickRejoinUsed = false;
    RetryAction m_retryAction = RetryAction::Connect;
    int m_retryMs = 0;

    QString m_nick;
    // The nick the listeners last heard of.
    QString m_reportedNick;
    int m_nickTries = 0;
    int m_nickLength = 30;
    QString m_user;  // our user@host as others see it, once known
    QString m_host;
    QString m_account;  // what the server says we are logged in as
    Sasl m_sasl = Sasl::NotStarted;
    // The password has been taken once on this run: a later refusal is the
    // network's passing trouble (services not back yet), not a wrong password.
    bool m_loginWorked = false;
    IrcCapabilities m_caps;
    bool m_capsDone = false;
    // The batches the server has open, by reference tag: their types.
    QHash<QString, QString> m_batches;
    // When the server says we joined (server-time); null when it did not say.
    QDateTime m_joinedAt;
    bool m_whox = false;
    QString m_chanTypes = QStringLiteral("#&");

    // Our lines in the send queue, by class in its order.
    struct Outgoing {
        QString target;
        IrcInbox::Line line;
    };
    std::array<std::deque<Outgoing>, PostPriorities> m_unsent;
    // Our lines written that the server may yet refuse.
    IrcVerdicts m_verdicts{[this](const QString &a, const QString &b) { return m_accounts.sameNick(a, b); }};
    // The user asked for the topic: the server's answer is told to the user.
    bool m_topicAsked = false;
    // Protocol traffic never waits here, only what the listeners must hear
    // in order. Beyond its bound the link is read no further while they are
    // taking lines; while the line gate keeps them from it, the link is read
    // all the same, for the protocol's sake, and the channel's lines beyond
    // it are skipped and counted.
    IrcInbox m_inbox;
    bool m_deliveryQueued = false;
    bool m_readQueued = false;
    bool m_reading = false;
};
