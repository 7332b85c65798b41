// The chat client's room when it is an IRC channel. The room exists only
// while the session is in the channel, so while it connects, retries or has
// been kicked the system above finds no room and its lines go nowhere, as
// with a closed room. What the room's entry box posts (the program's
// announcements) leaves in IRC's formatting, what the user types leaves as
// typed or is a client command (/msg, /nick...); what the
// channel says arrives with its speaker named so that only the signed-on
// user's lines pass as theirs; the owner's private lines command as theirs
// in the channel do, anyone else's are only shown, as is the channel's life.
// A DJ's lines, in the channel or private, are delivered under the DJ's
// nick as lines that play the music.
#pragma once

#include "platform/desktop.h"

#include <QObject>
#include <QString>
#include <QStringList>

class ChatClient;
class IrcSession;

// Whom a player for someone else obeys. With no nick the program is the
// user's own client, and the lines it sends are the user's.
struct IrcOwner {
    QString nick;
    // When given, a line is the owner's only when the server vouches that its
    // sender is logged in to this services account.
    QString account;
    // Whoever the server vouches is logged in to one of these plays the
    // music as the owner does, under their own nick.
    QStringList djAccounts{};
};

// Marks the owner's nick on a line the server does not vouch for: no nick
// holds a blank, so the name can never be the owner's.
inline constexpr QStringView UnverifiedMark = u" (not logged in)";
// Marks the speaker of a line said before the room was joined.
inline constexpr QStringView EarlierMark = u" (earlier)";

// What a player that obeys a nick alone tells its user once, since anyone
// may take the nick while its owner is away; "" when there is nothing to say.
QString NickOnlyTrustWarning(const IrcOwner &owner);

class IrcRoom : public QObject
{
    Q_OBJECT

public:
    IrcRoom(ChatClient &client, IrcSession &session, IrcOwner owner, QObject *parent = nullptr);

    WindowHandle room() const { return m_room; }
    // How a channel line's speaker appears in the room.
    QString speakerName(const QString &nick, const QString &account, bool own) const;
    // Whether the server vouches that the account is a DJ's.
    bool isDj(const QString &account) const;

signals:
    // The session cannot go on (a refused login, a server that cannot vouch
    // for the owner's account); the client has stopped.
    void failed(const QString &why);
    // The user typed /quit, giving the reason to leave the network with.
    void quitTyped(const QString &reason);

private:
    void enter(const QString &channel);
    void leave();
    void post(const QString &chatMarkup);
    void postTyped(const QString &typed);
    void checkOwnerCanBeVouchedFor();
    void showVouching(bool vouches);
    void receive(const QString &nick, const QString &ircText, bool action, const QString &account, bool own,
                 bool earlier);
    void receivePrivately(const QString &nick, const QString &ircText, bool action, const QString &account,
                          bool earlier);
    void notify(const QString &text);

    ChatClient &m_client;
    IrcSession &m_session;
    IrcOwner m_owner;
    WindowHandle m_room = 0;
};
