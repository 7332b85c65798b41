// The chat client's window on its current room: the transcript, each line
// shown as a chat room shows its HTML, the state of the client's link, the
// entry line that posts as the signed-on user, and, in a local room, a row
// to say a line as somebody else. A room may close and another open: what
// was said stays in view, and the window follows the room in front.
#pragma once

#include "platform/desktop.h"

#include <QWidget>

class ChatClient;
struct ChatClientLine;
struct ChatTranscriptLine;
class QLabel;
class QLineEdit;
class QTextBrowser;

class ChatRoomWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ChatRoomWindow(ChatClient &client, QWidget *parent = nullptr);

    QTextBrowser *transcriptView() const { return m_transcript; }
    QLineEdit *entryLine() const { return m_entry; }
    QLineEdit *otherName() const { return m_otherName; }
    QLineEdit *otherText() const { return m_otherText; }
    QWidget *otherRow() const { return m_otherRow; }
    QLabel *statusLine() const { return m_status; }
    QLabel *noticeLine() const { return m_notice; }

    // A line above the transcript about the program itself (no sound, say),
    // for the user in front of the window only; "" adds nothing.
    void addNotice(const QString &text);

private:
    void followCurrentRoom();
    void showTitle();
    void showStatus();
    void appendLine(WindowHandle room, const ChatClientLine &line);
    void appendNotice(WindowHandle room, const QString &text);
    void append(const ChatTranscriptLine &line);
    void writeLine(const ChatTranscriptLine &line);
    void rebuildTranscript();
    void writeRoomLines();
    void followEntryBox(WindowHandle window);
    void sayAsOther();

    ChatClient &m_client;
    WindowHandle m_room = 0; // 0 while the client is in no room
    QString m_roomName;
    QTextBrowser *m_transcript = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_notice = nullptr;
    QLineEdit *m_entry = nullptr;
    QWidget *m_otherRow = nullptr;
    QLineEdit *m_otherName = nullptr;
    QLineEdit *m_otherText = nullptr;
    // Formats the transcript may hold before it is written anew: the
    // document keeps every format it was given, even of lines long gone.
    qsizetype m_formatsAllowed = 0;
    int m_linesSinceFormatCount = 0;
};
