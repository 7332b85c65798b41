// One IRC protocol line, parsed once into its tags, source, command and
// parameters, and the one way a line the client sends is written. Whatever a
// server sends is data: a line that is not a message is refused, never
// guessed at, and nothing a participant wrote can start a second line.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

struct IrcMessage {
    // In the order the server gave them; values unescaped.
    std::vector<std::pair<QString, QString>> tags;
    QString source;  // "nick!user@host" or a server name; "" when absent
    QString command; // upper-cased; a numeric stays as its three digits
    QStringList params;

    // The nick part of the source (up to '!' or '@').
    QString nick() const;
    // The value of a tag, or nothing when the line does not carry it.
    std::optional<QString> tag(const QString &key) const;
    QString param(qsizetype index) const { return params.value(index); }
};

// Parses one line without its CR LF. Each part (the tags, the source, each
// parameter) is taken as UTF-8 when it is, else as Windows-1252 (what older
// clients send). Nothing when the line
// holds no command (ASCII letters, or three digits).
std::optional<IrcMessage> ParseIrcMessage(const QByteArray &line);

// Writes a line to send, without CR LF. Only the last parameter may hold
// blanks or start with ':'. Nothing when the command is none, any parameter
// holds CR, LF or NUL, or a middle one is empty, holds a blank or starts
// with ':': such a line would say something else than its caller meant.
std::optional<QByteArray> IrcLine(const QString &command, const QStringList &params = {});
