// The chat client's window for one room: the transcript, each line shown
// as a chat room shows its HTML, the entry line that posts as the signed-on
// user, and a row to say a line as somebody else.
#pragma once

#include "platform/desktop.h"

#include <QWidget>

class ChatClient;
class QLineEdit;
class QTextBrowser;

class ChatRoomWindow : public QWidget
{
    Q_OBJECT

public:
    ChatRoomWindow(ChatClient &client, WindowHandle room, QWidget *parent = nullptr);

    QTextBrowser *transcriptView() const { return m_transcript; }
    QLineEdit *entryLine() const { return m_entry; }
    QLineEdit *otherName() const { return m_otherName; }
    QLineEdit *otherText() const { return m_otherText; }

private:
    void appendLine(WindowHandle room, const QString &screenName, const QString &text);
    void writeLine(const QString &screenName, const QString &text);
    void rebuildTranscript();
    void followEntryBox(WindowHandle window);
    void sayAsOther();

    ChatClient &m_client;
    WindowHandle m_room;
    QTextBrowser *m_transcript = nullptr;
    QLineEdit *m_entry = nullptr;
    QLineEdit *m_otherName = nullptr;
    QLineEdit *m_otherText = nullptr;
    // Formats the transcript may hold before it is written anew: the
    // document keeps every format it was given, even of lines long gone.
    qsizetype m_formatsAllowed = 0;
    int m_linesSinceFormatCount = 0;
};
