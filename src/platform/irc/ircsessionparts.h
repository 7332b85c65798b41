// What the session's own source files share; nothing outside the session
// includes it.
#pragma once

#include <QString>

namespace IrcSessionParts {

inline const QString Action = QStringLiteral("\x01" "ACTION");
inline const QString AccountTag = QStringLiteral("account-tag");
// What the PING after one of our lines asks with, before the line's number;
// nothing else asks with it.
inline const QString VerdictToken = QStringLiteral("dun2-line-");

inline QString lines(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 line") : QStringLiteral("%1 lines").arg(count);
}

// " (why)" after what someone did, or nothing when they gave no reason.
QString because(const QString &why);

} // namespace IrcSessionParts
