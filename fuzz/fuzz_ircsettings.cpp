// An IRC address as typed or kept in irc.ini: one that is taken names a
// host, a port and a channel the JOIN line can carry, and written again in
// the plainest form it reads as the same address; one that is refused says
// why and fills nothing in.
#include "fuzzcheck.h"

#include "platform/irc/ircmessage.h"
#include "platform/irc/ircsettings.h"

#include <QUrl>
#include <algorithm>

namespace {

bool joinable(const QString &s)
{
    return std::none_of(s.begin(), s.end(), [](QChar c) {
        return c.isSpace() || c == u',' || c == u':' || c.category() == QChar::Other_Control;
    });
}

QString described(const IrcAddress &a)
{
    return QString("%1 %2 port %3 channel %4 key %5")
        .arg(a.tls ? "ircs" : "irc", a.host)
        .arg(a.port)
        .arg(a.channel, a.key);
}

QString written(const IrcAddress &a)
{
    // Only an IPv6 address holds ':', and only it is bracketed.
    const QString host = a.host.contains(u':') ? '[' + a.host + ']' : a.host;
    QString url = QString("%1://%2:%3/").arg(a.tls ? "ircs" : "irc", host).arg(a.port)
                  + QString::fromLatin1(QUrl::toPercentEncoding(a.channel));
    if (!a.key.isEmpty())
        url += "?key=" + QString::fromLatin1(QUrl::toPercentEncoding(a.key));
    return url;
}

} // namespace

void fuzzIrcSettings(QByteArrayView data)
{
    const QString text = QString::fromUtf8(data);
    const IrcAddress untouched{.host = "untouched", .port = 1, .tls = false, .channel = "#untouched", .key = {}};
    IrcAddress address = untouched;
    if (const QString why = ParseIrcAddress(text, address); !why.isEmpty()) {
        FUZZ_CHECK(address.host == untouched.host && address.port == untouched.port
                       && address.channel == untouched.channel,
                   "a refused address fills nothing in", described(address));
    } else {
        FUZZ_CHECK(!address.host.isEmpty() && address.port != 0, "an address names a host and a port",
                   described(address));
        FUZZ_CHECK(address.channel.size() >= 2 && QStringView(u"#&+!").contains(address.channel.front()),
                   "a channel has its prefix and a name", described(address));
        FUZZ_CHECK(joinable(address.channel) && joinable(address.key), "the channel and key fit on a JOIN line",
                   described(address));
        const QStringList joinParams =
            address.key.isEmpty() ? QStringList{address.channel} : QStringList{address.channel, address.key};
        const std::optional<QByteArray> join = IrcLine("JOIN", joinParams);
        FUZZ_CHECK(join, "the JOIN line can be written", described(address));

        IrcAddress again = untouched;
        const QString url = written(address);
        const QString problem = ParseIrcAddress(url, again);
        FUZZ_CHECK(problem.isEmpty() && again.host == address.host && again.port == address.port
                       && again.tls == address.tls && again.channel == address.channel && again.key == address.key,
                   "an address written again reads the same", url + ": " + problem + described(again));
    }

    // A nick a network takes goes on a line as a parameter of its own.
    if (IrcNickProblem(text).isEmpty())
        FUZZ_CHECK(IrcLine("NICK", {text, "x"}), "a nick taken fits on a line", text);
}

DUN2_FUZZ_ENTRY(fuzzIrcSettings)
