// How everything the program says in the chat room is put together: the
// message inside the pieces of the current announcement style.
#pragma once

#include "player/trackname.h"

#include <QString>

class Desktop;

struct StylePieces {
    QString reset;           // the face, and closes bold, underline, italic
    QString frontColour;     // colour tag of the front decoration
    QString frontDecoration; // text before the message
    QString messageColour;   // colour tag of the message
    QString messageFace;     // face tag of the message
    QString backColour;      // colour tag of the back decoration
    QString backDecoration;  // text after the message

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
