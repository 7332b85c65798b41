// A server's lines handed to a session as its link hands them, over and
// over, as a server that repeats itself would: whatever they say, the
// session keeps no more of them than its bounds allow.
#include "fuzzcheck.h"

#include "platform/irc/ircsession.h"

#include <algorithm>

void fuzzIrcSession(QByteArrayView data)
{
    // Enough rounds for a repeated capability list to pass its cap, few
    // enough for many inputs a second.
    constexpr qsizetype FedBytes = 64 * 1024;
    const qsizetype rounds = std::clamp<qsizetype>(FedBytes / std::max<qsizetype>(1, data.size()), 1, 16);
    IrcSession session({"irc.test", 6667, false}, {"ceo"}, "#music");
    for (qsizetype round = 0; round < rounds; ++round) {
        session.takeServerBytes(data);
        FUZZ_CHECK(session.heldBytes() <= IrcSession::MaxHeldBytes, "the session keeps no more than its bounds",
                   QStringLiteral("%1 bytes after %2 rounds").arg(session.heldBytes()).arg(round + 1));
    }
}

DUN2_FUZZ_ENTRY(fuzzIrcSession)
