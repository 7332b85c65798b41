#include "platform/chatroomwindow.h"

#include "platform/chatclient.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
constexpr quintptr Enter = 13;
}

ChatRoomWindow::ChatRoomWindow(ChatClient &client, WindowHandle room, QWidget *parent)
    : QWidget(parent)
    , m_client(client)
    , m_room(room)
{
    Desktop &desktop = m_client.desktop();
    setWindowTitle(desktop.getWindowText(room, desktop.getWindowTextLength(room) + 1) + " - "
                   + client.screenName());
    m_transcript = new QTextBrowser(this);
    m_transcript->setOpenLinks(false);
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

    for (const ChatClientLine &line : m_client.transcript(room))
        appendLine(room, line.screenName, line.text);
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
    m_transcript->append("<b>" + screenName.toHtmlEscaped() + ":</b> " + text);
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
