// How everything the program says in the chat room is put together: the
// message inside the pieces of the current announcement style.
#pragma once

#include <QString>

class Desktop;

struct StylePieces {
    QString eek;    // reset prefix: the face, and closes bold, underline, italic
    QString fcolor; // colour tag of the front decoration
    QString fascii; // front decoration
    QString co1;    // colour tag of the message
    QString font1;  // face tag of the message
    QString bcolor; // colour tag of the back decoration
    QString bascii; // back decoration

    static StylePieces initial();
    QString styledLine(const QString &message) const;
    // The style chooser's word on a chosen style: three pieces only.
    QString choiceLine(const QString &styleName) const;
    bool operator==(const StylePieces &) const = default;
};

// Sends styled lines built from pieces that the owner may change at any
// time: each line reads them afresh.
class Announcer
{
public:
    Announcer(Desktop &desktop, const StylePieces &pieces) : m_desktop(desktop), m_pieces(pieces) {}
    void announce(const QString &message) const;

private:
    Desktop &m_desktop;
    const StylePieces &m_pieces;
};

// Every occurrence of search, compared without regard to case, replaced;
// a replacement is never searched again. An empty search changes nothing.
QString ReplaceText(const QString &text, const QString &search, const QString &replacement);
// Names and words that people typed are plain text in an HTML line.
QString PlainToHtml(const QString &text);
// A track's name as announcements show it: without ".mp3", as plain text.
QString TrackName(const QString &fileName);
