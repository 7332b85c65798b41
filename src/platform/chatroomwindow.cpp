#include "platform/chatroomwindow.h"

#include "platform/chatclient.h"
#include "platform/chatmarkup.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

constexpr quintptr Enter = 13;
// Formats the transcript holds beyond those of the lines it shows before
// it is written anew, and how often that is counted.
constexpr qsizetype SpareFormats = 10000;
constexpr int LinesBetweenFormatCounts = 64;

// Lines never name anything the transcript would load; should one ever
// get through as a resource, it comes back empty.
class Transcript : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int, const QUrl &) override { return {}; }
};

} // namespace

ChatRoomWindow::ChatRoomWindow(ChatClient &client, WindowHandle room, QWidget *parent)
    : QWidget(parent)
    , m_client(client)
    , m_room(room)
{
    Desktop &desktop = m_client.desktop();
    setWindowTitle(desktop.getWindowText(room, desktop.getWindowTextLength(room) + 1) + " - "
                   + client.screenName());
    m_transcript = new Transcript(this);
    m_transcript->setOpenLinks(false);
    // As many lines as the room keeps; it also turns off the undo history.
    m_transcript->document()->setMaximumBlockCount(int(ChatClient::TranscriptLength));
    m_entry = new QLineEdit(this);
    m_entry->setPlaceholderText(tr("Say something as %1").arg(client.screenName()));
    m_otherName = new QLineEdit(this);
    m_otherName->setPlaceholderText(tr("screen name"));
    m_otherText = new QLineEdit(this);
    m_otherText->setPlaceholderText(tr("their line"));
    auto *sayButton = new QPushButton(tr("Say"), this);

    auto *otherRow = new QHBoxLayout;
    otherRow->addWidget(new QLabel(tr("As someone else:"), this));
    otherRow->addWidget(m_otherName, 1);
    otherRow->addWidget(m_otherText, 3);
    otherRow->addWidget(sayButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_transcript, 1);
    layout->addWidget(m_entry);
    layout->addLayout(otherRow);
    resize(560, 420);

    rebuildTranscript();
    connect(&m_client, &ChatClient::lineReceived, this, &ChatRoomWindow::appendLine);

    // The entry line is the face of the room's entry box: typing sets the
    // box's text and whatever sets the box's text shows here.
    WindowHandle entryBox = m_client.entryBox(room);
    connect(m_entry, &QLineEdit::textEdited, this, [this, entryBox](const QString &text) {
        QString copy = text;
        m_client.desktop().sendMessage(entryBox, WindowMessage::SetText, 0, &copy);
    });
    connect(&desktop, &Desktop::textChanged, this, &ChatRoomWindow::followEntryBox);
    connect(m_entry, &QLineEdit::returnPressed, this, [this, entryBox] {
        m_client.desktop().sendMessage(entryBox, WindowMessage::Char, Enter);
    });
    connect(sayButton, &QPushButton::clicked, this, &ChatRoomWindow::sayAsOther);
    connect(m_otherText, &QLineEdit::returnPressed, this, &ChatRoomWindow::sayAsOther);
}

void ChatRoomWindow::appendLine(WindowHandle room, const QString &screenName, const QString &text)
{
    if (room != m_room)
        return;
    QScrollBar *bar = m_transcript->verticalScrollBar();
    const bool followingTheEnd = bar->value() == bar->maximum();
    writeLine(screenName, text);
    if (++m_linesSinceFormatCount >= LinesBetweenFormatCounts) {
        m_linesSinceFormatCount = 0;
        if (m_transcript->document()->allFormats().size() > m_formatsAllowed)
            rebuildTranscript();
    }
    if (followingTheEnd)
        bar->setValue(bar->maximum());
}

void ChatRoomWindow::writeLine(const QString &screenName, const QString &text)
{
    QTextDocument *document = m_transcript->document();
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    // One change for the layout to take in, not one for each run of text.
    cursor.beginEditBlock();
    if (!document->isEmpty())
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    QTextCharFormat name;
    name.setFontWeight(QFont::Bold);
    InsertChatText(cursor, screenName, name);
    cursor.insertText(":", name);
    cursor.insertText(" ", QTextCharFormat());
    InsertChatMarkup(cursor, text, QTextCharFormat());
    cursor.endEditBlock();
}

// The room keeps the lines the transcript shows, so they are written again
// into an empty document, which forgets the formats of lines gone.
void ChatRoomWindow::rebuildTranscript()
{
    QTextDocument *document = m_transcript->document();
    document->clear();
    for (const ChatClientLine &line : m_client.transcript(m_room))
        writeLine(line.screenName, line.text);
    m_formatsAllowed = document->allFormats().size() + SpareFormats;
    m_linesSinceFormatCount = 0;
}

void ChatRoomWindow::followEntryBox(WindowHandle window)
{
    if (window != m_client.entryBox(m_room))
        return;
    Desktop &desktop = m_client.desktop();
    QString text = desktop.getWindowText(window, desktop.getWindowTextLength(window) + 1);
    if (m_entry->text() != text)
        m_entry->setText(text);
}

void ChatRoomWindow::sayAsOther()
{
    if (m_otherName->text().isEmpty())
        return;
    m_client.say(m_room, m_otherName->text(), m_otherText->text());
    m_otherText->clear();
}
