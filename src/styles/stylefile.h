// Style files: one small profile file per announcement style, in the styles
// directory beside the program, named after the style.
#pragma once

#include <QString>

// The program's directory + "/styles/".
QString StylesDirectory(const QString &home);
// The styles directory + name + ".ini".
QString StyleFile(const QString &home, const QString &name);

struct StyleValues {
    QString name;   // key `style`
    QString ascii;  // decoration text
    QString acolor; // decoration colour, hexadecimal digits
    QString fcolor; // message colour, hexadecimal digits
};

// Whether "name.ini" can be made in the styles directory as one plain file
// that the style list shows and finds again: no "/", no control character
// (a line break would come back from the `style` key as a blank), no
// leading "." (that covers "." and "..", and a hidden file would never be
// listed), and short enough for the file system.
bool isSafeStyleName(const QString &name);

enum class StyleSaveResult { Saved, UnsafeName, Failed };

// Writes the four keys in section "styles", creating the styles directory
// if it is missing. The file gets all four or keeps what it held: nothing is
// written for an unsafe name, and a failed write leaves the old file whole.
StyleSaveResult saveStyle(const QString &home, const StyleValues &style);

// The `style` key of a file in the styles directory ("" without one).
QString readStyleName(const QString &file);
// The three values of a style file, read from section "Styles" in the order
// acolor, ascii, fcolor; the name is left empty.
StyleValues readStyleValues(const QString &file);
