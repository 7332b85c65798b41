// The pattern test of the chat commands, as Visual Basic's Like operator
// does it: the whole line against the whole pattern, case-sensitive.
//   *        any run of characters, also none
//   ?        exactly one character
//   #        one decimal digit, 0 to 9
//   [list]   one character of the list; "a-z" in a list is the range of
//            the characters from a to z, both included, by code point. A
//            "-" first or last in the list stands for itself; a range
//            written downwards ("z-a") holds nothing.
//   [!list]  one character not in the list
//   []       nothing: it matches the empty text, as in Like; "[!]" is
//            any one character
// A "[" without its "]" stands for itself, and so does every other
// character. A character is a code point: a surrogate pair counts as one.
#pragma once

#include <QStringView>

// Never exponential: a failed match after a "*" restarts from the last star
// only, so the work is at most the line's length times the pattern's, and
// linear in the line for a pattern with one "*".
bool MatchesPattern(QStringView line, QStringView pattern);
