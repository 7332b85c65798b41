// Where the chat client's network is and who the client is there: an
// irc:// or ircs:// address, the names, the certificate authority and the
// password, taken from the command line over the client's own irc.ini in
// the program's directory (which the program only reads).
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct IrcAddress {
    QString host;
    quint16 port = 0;
    bool tls = false;
    QString channel; // with its prefix: # & + or !
    QString key;     // "" when the channel has none
};

// Why the text is no address of one channel, or "" with the address filled
// in: irc[s]://host[:port]/#channel[?key=KEY], the channel also as
// %23channel, or without a prefix for a # channel.
QString ParseIrcAddress(const QString &text, IrcAddress &address);

// Why the text is no listen address of an Icecast mount
// (http://host[:port]/mount), or "".
QString StreamAddressProblem(const QString &text);

// Why a network would refuse the nick, or "".
QString IrcNickProblem(const QString &nick);

// What the command line gives, each value overriding the file's key of the
// same meaning (an empty one too); nothing where an option is not given.
struct IrcOptions {
    std::optional<QString> address;
    std::optional<QString> screenName;
    std::optional<QString> owner;
    std::optional<QString> ownerAccount;
    std::optional<QString> caFile;
    std::optional<QString> passwordFile;
    // --irc-allow-plain-password: true when given; false leaves it to irc.ini.
    bool allowPlainPassword = false;
    std::optional<QString> serverPasswordFile{};
    std::optional<QStringList> djAccounts{};
    std::optional<QString> stream{};
    std::optional<QString> streamPasswordFile{};
};

struct IrcSettings {
    QString url; // the address as given; "" when the client stays local
    IrcAddress address;
    QString screenName;   // the name to sign on (on a network: the nick asked for)
    QString owner;        // whom a player for someone else obeys; "" when it is the user's own client
    QString ownerAccount; // the services account the owner's lines must come from; "" for none
    // Services accounts whose holders may command the player as the owner
    // does, but not the program's windows and settings.
    QStringList djAccounts;
    QString caFile;       // a certificate authority trusted beside the system's; "" for none
    QString password;     // for SASL PLAIN; "" to sign on without
    QString serverPassword; // sent as PASS before registering; "" for none
    QString stream;         // an Icecast mount's listen address, http://host:port/mount; "" for none
    QString streamPassword; // the mount's source password
    // What the user should know of how the settings were taken.
    QStringList notes;
};

// The passwords in the environment, which go before their files.
struct IrcEnvironmentPasswords {
    QString sasl{};   // DUN2_IRC_PASSWORD
    QString server{}; // DUN2_IRC_SERVER_PASSWORD
    QString stream{}; // DUN2_STREAM_PASSWORD
};

// The longest password file taken: a password, not a document.
constexpr qint64 IrcPasswordFileLimit = 4096;

// Why the settings can't be used, or "" with them resolved. home is the
// program's directory (of irc.ini, and of relative file names in it);
// loginName the screen name when none is given.
QString ResolveIrcSettings(const IrcOptions &given, const QString &home, const QString &loginName,
                           const IrcEnvironmentPasswords &environment, IrcSettings &settings);
