#include "platform/irc/ircsettings.h"

#include "platform/filename.h"
#include "platform/profile.h"
#include "platform/wholefile.h"

#include <QDir>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr quint16 PlainPort = 6667;
constexpr quint16 TlsPort = 6697;
// A value of irc.ini this long has been cut by the profile reader.
constexpr int ValueBuffer = 1024;
// A bundle of certificate authorities, not a disk image.
constexpr qint64 CaFileLimit = 1 << 20;
const QString Section = QStringLiteral("irc");
const QString ChannelPrefixes = QStringLiteral("#&+!");
const QStringList TrueWords = {"yes", "true", "on", "1"};
const QStringList FalseWords = {"", "no", "false", "off", "0"};

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Blanks, commas, colons and control characters would end a channel or a
// key early on the JOIN line, or make it say something else.
bool breaksAJoin(const QString &s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) {
        return c.isSpace() || c == u',' || c == u':' || c.category() == QChar::Other_Control;
    });
}

QString hostProblem(QStringView host, bool bracketed)
{
    if (host.isEmpty())
        return QStringLiteral("names no host");
    const auto allowed = [bracketed](QChar c) {
        if (bracketed)
            return isAsciiDigit(c) || QStringView(u"abcdefABCDEF:.").contains(c);
        return isAsciiLetter(c) || isAsciiDigit(c) || c == u'.' || c == u'-';
    };
    if (!std::all_of(host.begin(), host.end(), allowed))
        return "has a bad host \"" + host.toString() + "\"";
    return {};
}

// "?key=KEY", the only thing an address may ask of the channel.
QString queryProblem(QStringView query, QString &key)
{
    for (QStringView part : query.split(u'&')) {
        if (!part.startsWith(u"key=", Qt::CaseInsensitive))
            return "has \"" + part.toString() + "\" where only ?key=KEY may be";
        key = QUrl::fromPercentEncoding(part.sliced(4).toUtf8());
        if (key.isEmpty())
            return QStringLiteral("has an empty channel key");
        if (breaksAJoin(key))
            return QStringLiteral("has a channel key with blanks, commas, colons or control characters");
    }
    return {};
}

// Why the file can't be used, or "" with its bytes read when asked for.
QString smallFileProblem(const QString &path, qint64 limit, QByteArray *bytes = nullptr)
{
    struct stat info;
    if (::stat(encodeFileName(path).constData(), &info) != 0)
        return QString("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISREG(info.st_mode))
        return path + " is not a regular file";
    if (info.st_size > limit)
        return QString("%1 is larger than %2 bytes").arg(path).arg(limit);
    const std::optional<QByteArray> read = readWholeFile(path);
    if (!read || read->size() > limit)
        return path + " can't be read";
    if (bytes)
        *bytes = *read;
    return {};
}

// A password from the environment, else from the first line of its file;
// why not, or "".
QString takePassword(const QString &environment, const char *variable, const QString &file, const char *fileKey,
                     QString &password, QStringList &notes)
{
    password = environment;
    if (file.isEmpty())
        return {};
    if (!password.isEmpty()) {
        notes.append(QStringLiteral("%1 is used; the %2 %3 is not read").arg(variable, fileKey, file));
        return {};
    }
    QByteArray bytes;
    if (QString why = smallFileProblem(file, IrcPasswordFileLimit, &bytes); !why.isEmpty())
        return QStringLiteral("the %1 %2").arg(fileKey, why);
    QByteArray line = bytes.first(bytes.contains('\n') ? bytes.indexOf('\n') : bytes.size());
    if (line.endsWith('\r'))
        line.chop(1);
    password = QString::fromUtf8(line);
    if (password.isEmpty())
        return QStringLiteral("the %1 %2 has no password on its first line").arg(fileKey, file);
    return {};
}

// The stream's address checked and its password taken, the environment's
// before the file's.
QString resolveStream(IrcSettings &s, const QString &environment, const QString &passwordFile)
{
    if (s.stream.isEmpty())
        return passwordFile.isEmpty() ? QString()
                                      : QStringLiteral("a stream password file is for a stream: give --stream URL too");
    if (QString why = StreamAddressProblem(s.stream); !why.isEmpty())
        return why;
    if (QString why = takePassword(environment, "DUN2_STREAM_PASSWORD", passwordFile, "stream password file",
                                   s.streamPassword, s.notes);
        !why.isEmpty())
        return why;
    if (s.streamPassword.isEmpty())
        return QStringLiteral("a stream needs its mount's source password: set DUN2_STREAM_PASSWORD or give"
                              " --stream-password-file FILE");
    if (s.streamPassword.contains(QChar(0)))
        return QStringLiteral("a password can't hold a NUL character");
    return {};
}

} // namespace

QString ParseIrcAddress(const QString &text, IrcAddress &address)
{
    const QString problem = "the IRC address \"" + text + "\" ";
    const qsizetype schemeEnd = text.indexOf(u"://");
    const QString scheme = schemeEnd < 0 ? QString() : text.left(schemeEnd).toLower();
    if (scheme != u"irc" && scheme != u"ircs")
        return problem + "does not start with irc:// or ircs://";
    IrcAddress result;
    result.tls = scheme == u"ircs";
    QStringView rest = QStringView(text).sliced(schemeEnd + 3);

    const qsizetype authorityEnd = std::find_if(rest.begin(), rest.end(), [](QChar c) {
                                       return c == u'/' || c == u'?' || c == u'#';
                                   }) - rest.begin();
    QStringView authority = rest.first(authorityEnd);
    rest = rest.sliced(authorityEnd);
    if (authority.contains(u'@'))
        return problem + "holds a name or password: see --screen-name and DUN2_IRC_PASSWORD";
    const bool bracketed = authority.startsWith(u'[');
    const qsizetype hostEnd = bracketed ? authority.indexOf(u']') + 1 : authority.indexOf(u':');
    if (bracketed && hostEnd == 0)
        return problem + "has a bad host";
    QStringView host = hostEnd < 0 ? authority : authority.first(hostEnd);
    QStringView port = hostEnd < 0 ? QStringView() : authority.sliced(hostEnd);
    if (bracketed)
        host = host.sliced(1, host.size() - 2);
    if (QString why = hostProblem(host, bracketed); !why.isEmpty())
        return problem + why;
    result.host = host.toString();
    result.port = result.tls ? TlsPort : PlainPort;
    if (!port.isEmpty()) {
        const uint number = port.sliced(1).toUInt();
        const bool digitsOnly = std::all_of(port.begin() + 1, port.end(), isAsciiDigit);
        if (!digitsOnly || number == 0 || number > 65535)
            return problem + "has a bad port \"" + port.sliced(1).toString() + "\"";
        result.port = quint16(number);
    }

    // The channel is the path, or the fragment where its # was not
    // escaped; a query may come before that fragment or after the channel.
    if (rest.startsWith(u'/'))
        rest = rest.sliced(1);
    QStringView channel = rest, query;
    if (const qsizetype mark = rest.indexOf(u'?'); mark == 0) {
        const qsizetype hash = rest.indexOf(u'#');
        query = hash < 0 ? rest.sliced(1) : rest.sliced(1, hash - 1);
        channel = hash < 0 ? QStringView() : rest.sliced(hash);
    } else if (mark > 0) {
        channel = rest.first(mark);
        query = rest.sliced(mark + 1);
    }
    result.channel = QUrl::fromPercentEncoding(channel.toUtf8());
    if (!result.channel.isEmpty() && !ChannelPrefixes.contains(result.channel.front()))
        result.channel.prepend(u'#');
    if (result.channel.size() < 2)
        return problem + "names no channel: irc[s]://host[:port]/#channel";
    if (breaksAJoin(result.channel))
        return problem + "names a channel with blanks, commas, colons or control characters";
    if (!query.isEmpty())
        if (QString why = queryProblem(query, result.key); !why.isEmpty())
            return problem + why;
    address = result;
    return {};
}

QString StreamAddressProblem(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    const QString problem = "the stream \"" + text + "\" ";
    if (!url.isValid() || url.scheme() != u"http")
        return problem + "is no http://HOST:PORT/MOUNT address";
    if (url.host().isEmpty())
        return problem + "names no host";
    if (!url.userInfo().isEmpty())
        return problem + "holds a name or password: the password goes in DUN2_STREAM_PASSWORD or a file";
    if (url.path().size() < 2 || url.path().endsWith(u'/') || url.hasQuery() || url.hasFragment())
        return problem + "names no mount (http://HOST:PORT/MOUNT)";
    return {};
}

QString IrcNickProblem(const QString &nick)
{
    // The nicks every network takes: a letter or one of []\`_^{|} first,
    // then those, digits and '-'.
    const auto special = [](QChar c) { return QStringView(u"[]\\`_^{|}").contains(c); };
    if (nick.isEmpty())
        return QStringLiteral("a nick can't be empty");
    if (!isAsciiLetter(nick.front()) && !special(nick.front()))
        return QStringLiteral("a nick starts with a letter or one of [ ] \\ ` _ ^ { | }");
    if (!std::all_of(nick.begin(), nick.end(),
                     [&](QChar c) { return isAsciiLetter(c) || isAsciiDigit(c) || special(c) || c == u'-'; }))
        return QStringLiteral("a nick holds only letters, digits and - [ ] \\ ` _ ^ { | }");
    return {};
}

QString ResolveIrcSettings(const IrcOptions &given, const QString &home, const QString &loginName,
                           const IrcEnvironmentPasswords &environment, IrcSettings &settings)
{
    const QString iniPath = QDir(home).filePath("irc.ini");
    QString tooLong;
    const auto value = [&](const std::optional<QString> &option, const char *key) {
        if (option)
            return *option;
        QString found = getPrivateProfileString(Section, key, QString(), ValueBuffer, iniPath);
        if (found.size() >= ValueBuffer - 1)
            tooLong = QString("%1: the %2 is too long").arg(iniPath, key);
        return found;
    };
    // Names on the command line are the user's, from where they stand;
    // those in irc.ini are from the program's directory.
    const auto fileName = [&](const std::optional<QString> &option, const char *key) {
        const QString name = option ? *option : getPrivateProfileFileName(Section, key, iniPath);
        if (name.isEmpty())
            return QString();
        return option ? QDir::current().absoluteFilePath(name) : QDir(home).absoluteFilePath(name);
    };

    IrcSettings s;
    s.url = value(given.address, "address");
    s.screenName = value(given.screenName, "screen name");
    if (s.screenName.isEmpty() && !given.screenName)
        s.screenName = loginName;
    s.owner = value(given.owner, "owner");
    s.ownerAccount = value(given.ownerAccount, "owner account");
    s.djAccounts = given.djAccounts ? *given.djAccounts : value({}, "dj accounts").split(u',');
    for (QString &account : s.djAccounts)
        account = account.trimmed();
    s.djAccounts.removeAll(QString());
    s.stream = value(given.stream, "stream");
    if (!tooLong.isEmpty())
        return tooLong;
    if (QString why = resolveStream(s, environment.stream, fileName(given.streamPasswordFile, "stream password file"));
        !why.isEmpty())
        return why;
    if (!s.ownerAccount.isEmpty() && s.owner.isEmpty())
        return QStringLiteral("an owner account is the account of an owner: give --owner NICK too");
    if (s.url.isEmpty()) {
        if (given.owner || given.ownerAccount || given.djAccounts || given.caFile || given.passwordFile || given.serverPasswordFile
            || given.allowPlainPassword)
            return QStringLiteral("--owner, --owner-account, --dj-account, --irc-ca, --irc-password-file,"
                                  " --irc-server-password-file and --irc-allow-plain-password are for a network:"
                                  " give --irc URL too");
        settings = IrcSettings{};
        settings.screenName = s.screenName;
        settings.stream = s.stream;
        settings.streamPassword = s.streamPassword;
        settings.notes = s.notes;
        return {};
    }

    if (QString why = ParseIrcAddress(s.url, s.address); !why.isEmpty())
        return why;
    if (QString why = IrcNickProblem(s.screenName); !why.isEmpty())
        return "the screen name \"" + s.screenName + "\" is no nick: " + why;
    if (!s.owner.isEmpty()) {
        if (QString why = IrcNickProblem(s.owner); !why.isEmpty())
            return "the owner \"" + s.owner + "\" is no nick: " + why;
        if (s.owner.compare(s.screenName, Qt::CaseInsensitive) == 0)
            return QStringLiteral("a player for someone else needs a nick of its own: give a --screen-name"
                                  " other than the owner's");
    }
    if (breaksAJoin(s.ownerAccount))
        return QStringLiteral("the owner's account can't hold blanks, commas, colons or control characters");
    if (std::any_of(s.djAccounts.begin(), s.djAccounts.end(), breaksAJoin))
        return QStringLiteral("a DJ's account can't hold blanks, commas, colons or control characters");

    s.caFile = fileName(given.caFile, "ca");
    if (!s.caFile.isEmpty()) {
        if (!s.address.tls)
            return QStringLiteral("a certificate authority is for an ircs:// address");
        if (QString why = smallFileProblem(s.caFile, CaFileLimit); !why.isEmpty())
            return "the certificate authority " + why;
    }

    if (QString why = takePassword(environment.sasl, "DUN2_IRC_PASSWORD", fileName(given.passwordFile, "password file"),
                                   "password file", s.password, s.notes);
        !why.isEmpty())
        return why;
    if (QString why = takePassword(environment.server, "DUN2_IRC_SERVER_PASSWORD",
                                   fileName(given.serverPasswordFile, "server password file"), "server password file",
                                   s.serverPassword, s.notes);
        !why.isEmpty())
        return why;
    if (s.password.contains(QChar(0)) || s.serverPassword.contains(QChar(0)))
        return QStringLiteral("a password can't hold a NUL character");
    if ((!s.password.isEmpty() || !s.serverPassword.isEmpty()) && !s.address.tls) {
        bool allowed = given.allowPlainPassword;
        if (!allowed) {
            const QString answer = value({}, "allow plain password").trimmed().toLower();
            allowed = TrueWords.contains(answer);
            if (!allowed && !FalseWords.contains(answer))
                return iniPath + ": allow plain password is yes or no, not \"" + answer + "\"";
        }
        if (!allowed)
            return QStringLiteral("a password on a plain irc:// link would cross the network readable by anyone on"
                                  " the way: use an ircs:// address, or --irc-allow-plain-password (allow plain"
                                  " password=yes in irc.ini) to send it all the same");
    }
    settings = s;
    return {};
}
