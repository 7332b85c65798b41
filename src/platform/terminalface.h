// The chat client's face where there is no screen: every line a room
// receives goes to standard output as "name:<TAB>text", and each notice as
// "-- text" (escaped, it holds no tab, so it never reads as a line said),
// each line of standard input is posted in the room as the entry box would,
// and dialogs that wait for an answer take the next line instead (the
// innermost waiting one first). The state of the client's link goes to standard error.
#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/desktop.h"

class ChatClient;
struct ChatClientLine;
class LineReader;

class TerminalFace : public QObject
{
    Q_OBJECT

public:
    // An answer, or nothing when the input has ended.
    using Answer = std::function<void(const std::optional<QString> &)>;

    TerminalFace(ChatClient &client, int inputFd, std::FILE *output, QObject *parent = nullptr);

    // A dialog that waits for a line while it is shown: it stays until
    // removed, each line going to the innermost one.
    int addDialog(const QString &title, Answer answer);
    void removeDialog(int id);
    // Asks on standard error and waits for the next line (nested loop).
    std::optional<QString> ask(const QString &prompt);
    // While held, typed lines wait for a question (ask) and go to nothing
    // else: a step that asks one thing after another keeps the lines typed
    // ahead for its next question, which is not there yet.
    void holdInput();
    void resumeInput();

    // What a window that only shows text would show, as plain lines on
    // standard output: no tab, so none reads as a line said in the room.
    void printText(const QStringList &lines);
    // A window that is of use only on a screen says so on standard error,
    // once in the program's life.
    void needsDisplay(const QString &window);

signals:
    // The input has ended and no handler is inside a wait any more.
    void finished();

private:
    void printLine(WindowHandle room, const ChatClientLine &line);
    void printNotice(WindowHandle room, const QString &text);
    void print(QByteArray line);
    void printStatus(const QString &status);
    void takeLine(const QByteArray &line);
    void deliverLine(const QByteArray &line);
    bool linesWait() const;
    void releaseLater();
    void sayInRoom(const QString &line);
    void takeEndOfInput();
    void finishWhenIdle();
    void releaseHeldLines();

    struct Dialog {
        int id;
        Answer answer;
        bool once; // answered by one line, then gone
    };

    int pushDialog(const QString &title, Answer answer, bool once);

    ChatClient &m_client;
    LineReader *m_reader;
    std::FILE *m_output;
    bool m_colours;
    std::vector<Dialog> m_dialogs;
    int m_nextDialogId = 1;
    // Questions answered whose askers have not yet taken the answer. Like a
    // modal box on a screen, a question lets no line through to anyone
    // else until then: type-ahead waits here, the end of input with it.
    int m_answersUntaken = 0;
    int m_holds = 0;
    std::deque<QByteArray> m_held;
    bool m_endHeld = false;
    bool m_releaseQueued = false;
    QSet<QString> m_saidNeedsDisplay;
};
