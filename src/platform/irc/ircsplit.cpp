#include "platform/irc/ircsplit.h"

QStringList SplitForChannel(QStringView text, int maxBytes)
{
    QStringList pieces;
    QString piece;
    int bytes = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype units = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QStringView character = text.sliced(i, units);
        const int size = int(character.toUtf8().size());
        if (bytes + size > maxBytes && !piece.isEmpty()) {
            pieces << std::exchange(piece, QString());
            bytes = 0;
        }
        piece += character;
        bytes += size;
        i += units;
    }
    if (!piece.isEmpty())
        pieces << piece;
    return pieces;
}
