// Text cut to a size: every buffer and line limit in the program cuts
// between characters, never between the halves of a surrogate pair.
#pragma once

#include <QStringView>
#include <algorithm>

// The length of the longest start of text that is at most `most` units long
// and does not end in the first half of a pair whose second half is cut off.
inline qsizetype wholeCharactersWithin(QStringView text, qsizetype most)
{
    qsizetype n = std::clamp<qsizetype>(most, 0, text.size());
    if (n > 0 && n < text.size() && text[n - 1].isHighSurrogate() && text[n].isLowSurrogate())
        --n;
    return n;
}
