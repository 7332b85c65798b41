// Text from elsewhere (a participant's line, a server's refusal) written to
// a terminal: one line of it is one line on the screen, and it can neither
// drive the terminal nor turn the text around it.
#pragma once

#include <QByteArray>
#include <QString>

// UTF-8 with control characters and bidirectional overrides and isolates
// written as escapes (\n, \x1b, \u202e), so nobody's text can start a line
// that seems to be someone else's, clear the screen, or show what follows
// it backwards.
QByteArray TerminalText(const QString &text);
