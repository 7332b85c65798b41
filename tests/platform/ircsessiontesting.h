// What the IRC session's tests read back of it.
#pragma once

#include <QSignalSpy>
#include <algorithm>

// Whether a status the session gave so far holds `part`.
inline bool saw(const QSignalSpy &statuses, const QString &part)
{
    return std::any_of(statuses.begin(), statuses.end(),
                       [&](const QList<QVariant> &args) { return args.first().toString().contains(part); });
}
