// The lower-cased and case-folded forms of a text beyond ASCII, made one
// character at a time from forms worked out once per character and kept.
// QString::toLower and toCaseFolded map each character without looking at
// its neighbours, so the forms are theirs; a folder of a million accented
// names holds a few dozen distinct characters beyond ASCII, and its names
// then cost a table look-up per character instead of a pass through
// Unicode's tables and a new string each.
#pragma once

#include "platform/asciitext.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <unordered_map>

class CaseForms
{
public:
    // Appends the text lower-cased, in UTF-8.
    void appendLowered(QByteArray &out, QStringView text);
    // Calls take(QStringView) with each character's folded form, in order.
    template <typename Take>
    void forEachFolded(QStringView text, Take take)
    {
        for (qsizetype i = 0; i < text.size();) {
            if (text[i].unicode() < 0x80) {
                const char16_t folded = char16_t(asciiLowered(text[i]));
                take(QStringView(&folded, 1));
                ++i;
                continue;
            }
            const Character c = characterAt(text, i);
            take(QStringView(formsOf(c).folded));
            i += c.length;
        }
    }

private:
    struct Forms {
        QByteArray lowered; // UTF-8
        QString folded;
    };
    // A code point, or half a surrogate pair standing alone, which the
    // conversions leave as it is.
    struct Character {
        char32_t value;
        qsizetype length;
        bool alone;
    };

    static Character characterAt(QStringView text, qsizetype i);
    const Forms &formsOf(const Character &c);

    std::unordered_map<char32_t, Forms> m_known;
};
