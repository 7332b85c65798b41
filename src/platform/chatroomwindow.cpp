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

ChatRoomWindow::ChatRoomWindow(ChatClient &client, QWidget *parent)
    : QWidget(parent)
    , m_client(client)
{
    m_transcript = new Transcript(this);
    m_transcript->setOpenLinks(false);
    // As many lines as the room keeps; it also turns off the undo history.
    m_transcript->document()->setMaximumBlockCount(int(ChatClient::TranscriptLength));
    // A network's reasons are shown as they are, never as markup.
    m_status = new QLabel(this);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    m_notice = new QLabel(this);
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->setWordWrap(true);
    m_notice->setStyleSheet(QStringLiteral("font-weight: bold"));
    m_notice->hide();
    m_entry = new QLineEdit(this);
    m_otherName = new QLineEdit(this);
    m_otherName->setPlaceholderText(tr("screen name"));
    m_otherText = new QLineEdit(this);
    m_otherText->setPlaceholderText(tr("their line"));
    auto *sayButton = new QPushButton(tr("Say"), this);

    m_otherRow = new QWidget(this);
    auto *otherRow = new QHBoxLayout(m_otherRow);
    otherRow->setContentsMargins(0, 0, 0, 0);
    otherRow->addWidget(new QLabel(tr("As someone else:"), m_otherRow));
    otherRow->addWidget(m_otherName, 1);
    otherRow->addWidget(m_otherText, 3);
    otherRow->addWidget(sayButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_notice);
    layout->addWidget(m_transcript, 1);
    layout->addWidget(m_status);
    layout->addWidget(m_entry);
    layout->addWidget(m_otherRow);
    resize(560, 420);

    followCurrentRoom();
    showTitle();
    connect(&m_client, &ChatClient::lineShown, this, &ChatRoomWindow::appendLine);
    connect(&m_client, &ChatClient::noticeShown, this, &ChatRoomWindow::appendNotice);
    connect(&m_client, &ChatClient::roomOpened, this, &ChatRoomWindow::followCurrentRoom);
    connect(&m_client, &ChatClient::roomClosed, this, &ChatRoomWindow::followCurrentRoom);
    connect(&m_client, &ChatClient::statusChanged, this, &ChatRoomWindow::showStatus);
    connect(&m_client, &ChatClient::screenNameChanged, this, &ChatRoomWindow::showTitle);

    // The entry line is the face of the room's entry box: typing sets the
    // box's text and whatever sets the box's text shows here.
    connect(m_entry, &QLineEdit::textEdited, this, [this](const QString &text) {
        QString copy = text;
        if (m_room)
            m_client.desktop().sendMessage(m_client.entryBox(m_room), WindowMessage::SetText, 0, &copy);
    });
    connect(&m_client.desktop(), &Desktop::textChanged, this, &ChatRoomWindow::followEntryBox);
    // What the user typed is said as typed, not as the program's markup.
    connect(m_entry, &QLineEdit::returnPressed, this, [this] {
        const QString typed = m_entry->text();
        if (!m_room || typed.isEmpty())
            return;
        QString cleared;
        m_client.desktop().sendMessage(m_client.entryBox(m_room), WindowMessage::SetText, 0, &cleared);
        m_entry->clear();
        m_client.postTyped(m_room, typed);
    });
    connect(sayButton, &QPushButton::clicked, this, &ChatRoomWindow::sayAsOther);
    connect(m_otherText, &QLineEdit::returnPressed, this, &ChatRoomWindow::sayAsOther);
}

// The room in front is the one shown. One that closes leaves what was said
// in view and the entry line closed; the next one's lines follow on.
void ChatRoomWindow::followCurrentRoom()
{
    const WindowHandle room = m_client.currentRoom();
    if (room != m_room) {
        m_room = room;
        if (room) {
            Desktop &desktop = m_client.desktop();
            m_roomName = desktop.getWindowText(room, desktop.getWindowTextLength(room) + 1);
            writeRoomLines();
            // What was typed while out of any room is still there to send.
            QString typed = m_entry->text();
            if (!typed.isEmpty())
                desktop.sendMessage(m_client.entryBox(room), WindowMessage::SetText, 0, &typed);
            showTitle();
        }
    }
    m_entry->setEnabled(m_room != 0);
    // Nobody can say a line as somebody else on a network.
    m_otherRow->setVisible(m_room && !m_client.hasPoster(m_room));
    showStatus();
}

void ChatRoomWindow::showTitle()
{
    setWindowTitle(m_roomName.isEmpty() ? m_client.screenName() : m_roomName + " - " + m_client.screenName());
    m_entry->setPlaceholderText(tr("Say something as %1").arg(m_client.screenName()));
}

void ChatRoomWindow::addNotice(const QString &text)
{
    if (text.isEmpty())
        return;
    m_notice->setText(m_notice->text().isEmpty() ? text : m_notice->text() + u'\n' + text);
    m_notice->show();
}

void ChatRoomWindow::showStatus()
{
    QString status = m_client.status();
    if (status.isEmpty() && !m_room)
        status = tr("Not in a chat room.");
    m_status->setText(status);
    m_status->setVisible(!status.isEmpty());
}

void ChatRoomWindow::appendLine(WindowHandle room, const ChatClientLine &line)
{
    if (room == m_room)
        append({line.screenName, line.shown});
}

void ChatRoomWindow::appendNotice(WindowHandle room, const QString &text)
{
    if (room == m_room)
        append({QString(), text, true});
}

void ChatRoomWindow::append(const ChatTranscriptLine &line)
{
    QScrollBar *bar = m_transcript->verticalScrollBar();
    const bool followingTheEnd = bar->value() == bar->maximum();
    writeLine(line);
    if (++m_linesSinceFormatCount >= LinesBetweenFormatCounts) {
        m_linesSinceFormatCount = 0;
        if (m_transcript->document()->allFormats().size() > m_formatsAllowed)
            rebuildTranscript();
    }
    if (followingTheEnd)
        bar->setValue(bar->maximum());
}

void ChatRoomWindow::writeLine(const ChatTranscriptLine &line)
{
    QTextDocument *document = m_transcript->document();
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    // One change for the layout to take in, not one for each run of text.
    cursor.beginEditBlock();
    if (!document->isEmpty())
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    if (line.notice) {
        // Grey, slanted and nameless: nobody's line.
        QTextCharFormat notice;
        notice.setFontItalic(true);
        notice.setForeground(Qt::gray);
        InsertChatText(cursor, "-- " + line.shown, notice);
    } else {
        QTextCharFormat name;
        name.setFontWeight(QFont::Bold);
        InsertChatText(cursor, line.screenName, name);
        cursor.insertText(":", name);
        cursor.insertText(" ", QTextCharFormat());
        InsertChatMarkup(cursor, line.shown, QTextCharFormat());
    }
    cursor.endEditBlock();
}

// The room keeps the lines the transcript shows, so they are written again
// into an empty document, which forgets the formats of lines gone (and the
// lines of a room closed before this one).
void ChatRoomWindow::rebuildTranscript()
{
    m_transcript->document()->clear();
    writeRoomLines();
}

void ChatRoomWindow::writeRoomLines()
{
    for (const ChatTranscriptLine &line : m_client.transcript(m_room))
        writeLine(line);
    m_formatsAllowed = m_transcript->document()->allFormats().size() + SpareFormats;
    m_linesSinceFormatCount = 0;
}

void ChatRoomWindow::followEntryBox(WindowHandle window)
{
    if (!m_room || window != m_client.entryBox(m_room))
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
