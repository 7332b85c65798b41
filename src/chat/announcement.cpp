#include "chat/announcement.h"

#include "chat/clientwindows.h"

namespace {

// A styled line is one line of the room whatever a name in it holds: a
// track name, a handle or a style name with a line break in it would
// otherwise end the line, or start one that seems to be somebody else's.
QString oneLine(QString line)
{
    for (QChar &c : line)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    return line;
}

} // namespace

StylePieces StylePieces::initial()
{
    return StylePieces{
        .reset = "<font face=\"Arial\"></b></u></i>",
        .frontColour = "<font color=#FF0000>",
        .frontDecoration = QString::fromUtf8("..\u203A "),
        .messageColour = "<font color=#000000>",
        .messageFace = "<font face=\"Arial\">",
        .backColour = "<font color=#FF0000>",
        .backDecoration = QString::fromUtf8("\u2022\u00B7 \u00B7"),
    };
}

QString StylePieces::styledLine(const QString &message) const
{
    return oneLine(reset + frontColour + frontDecoration + messageColour + messageFace + message + backColour
                   + backDecoration);
}

QString StylePieces::choiceLine(const QString &styleName) const
{
    return oneLine(frontDecoration + messageColour + " selected " + styleName + backDecoration);
}

void Announcer::announce(const QString &message) const
{
    ChatSend(m_desktop, m_pieces.styledLine(message));
}
