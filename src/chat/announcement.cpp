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
        .eek = "<font face=\"Arial\"></b></u></i>",
        .fcolor = "<font color=#FF0000>",
        .fascii = QString::fromUtf8("..\u203A "),
        .co1 = "<font color=#000000>",
        .font1 = "<font face=\"Arial\">",
        .bcolor = "<font color=#FF0000>",
        .bascii = QString::fromUtf8("\u2022\u00B7 \u00B7"),
    };
}

QString StylePieces::styledLine(const QString &message) const
{
    return oneLine(eek + fcolor + fascii + co1 + font1 + message + bcolor + bascii);
}

QString StylePieces::choiceLine(const QString &styleName) const
{
    return oneLine(fascii + co1 + " selected " + styleName + bascii);
}

void Announcer::announce(const QString &message) const
{
    ChatSend(m_desktop, m_pieces.styledLine(message));
}
