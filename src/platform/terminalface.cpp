#include "platform/terminalface.h"

#include "platform/chatclient.h"
#include "platform/linereader.h"
#include "platform/nestedloop.h"
#include "platform/terminaltext.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <unistd.h>

namespace {

// On a terminal the HTML is shown as it would look, roughly: tags dropped.
QString withoutTags(const QString &html)
{
    QString plain;
    plain.reserve(html.size());
    bool inTag = false;
    for (QChar c : html) {
        if (c == '<')
            inTag = true;
        else if (c == '>')
            inTag = false;
        else if (!inTag)
            plain += c;
    }
    return plain.replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&");
}

} // namespace

TerminalFace::TerminalFace(ChatClient &client, int inputFd, std::FILE *output, QObject *parent)
    : QObject(parent)
    , m_client(client)
    , m_reader(new LineReader(inputFd, this))
    , m_output(output)
    , m_colours(isatty(fileno(output)))
{
    connect(&m_client, &ChatClient::lineShown, this, &TerminalFace::printLine);
    connect(&m_client, &ChatClient::noticeShown, this, &TerminalFace::printNotice);
    connect(&m_client, &ChatClient::statusChanged, this, &TerminalFace::printStatus);
    connect(m_reader, &LineReader::lineRead, this, &TerminalFace::takeLine);
    connect(m_reader, &LineReader::endOfInput, this, &TerminalFace::takeEndOfInput);
}

int TerminalFace::addDialog(const QString &title, Answer answer)
{
    return pushDialog(title, std::move(answer), false);
}

int TerminalFace::pushDialog(const QString &title, Answer answer, bool once)
{
    std::fprintf(stderr, "%s\n", title.toUtf8().constData());
    std::fflush(stderr);
    int id = m_nextDialogId++;
    m_dialogs.push_back({id, std::move(answer), once});
    return id;
}

void TerminalFace::removeDialog(int id)
{
    std::erase_if(m_dialogs, [id](const Dialog &d) { return d.id == id; });
}

std::optional<QString> TerminalFace::ask(const QString &prompt)
{
    if (m_reader->atEnd())
        return std::nullopt;
    std::optional<QString> result;
    bool answered = false;
    QEventLoop loop;
    int id = pushDialog(prompt, [&](const std::optional<QString> &answer) {
        result = answer;
        answered = true;
        ++m_answersUntaken;
        loop.quit();
    }, true);
    // Lines held for a question come to this one.
    releaseLater();
    if (!answered) {
        NestedLoop nested;
        loop.exec();
    }
    removeDialog(id);
    if (answered) {
        --m_answersUntaken;
        releaseLater();
    }
    return result;
}

void TerminalFace::holdInput()
{
    ++m_holds;
}

void TerminalFace::resumeInput()
{
    --m_holds;
    releaseLater();
}

bool TerminalFace::linesWait() const
{
    const bool question = !m_dialogs.empty() && m_dialogs.back().once;
    return m_answersUntaken > 0 || (m_holds > 0 && !question);
}

void TerminalFace::releaseLater()
{
    // Queued: the asker goes on with its answer first, up to its next wait.
    if (!m_releaseQueued && !linesWait() && (!m_held.empty() || m_endHeld)) {
        m_releaseQueued = true;
        QMetaObject::invokeMethod(this, &TerminalFace::releaseHeldLines, Qt::QueuedConnection);
    }
}

// One line a turn, as the line reader hands them out: each may be taken
// inside the wait of the one before, as deep as the line gate lets waits nest.
void TerminalFace::releaseHeldLines()
{
    m_releaseQueued = false;
    if (linesWait())
        return;
    if (!m_held.empty()) {
        if (!LineGate::isOpen()) {
            connect(&LineGate::instance(), &LineGate::opened, this, &TerminalFace::releaseLater,
                    Qt::SingleShotConnection);
            return;
        }
        const QByteArray line = m_held.front();
        m_held.pop_front();
        releaseLater();
        deliverLine(line);
        return;
    }
    if (std::exchange(m_endHeld, false))
        takeEndOfInput();
}

void TerminalFace::printLine(WindowHandle, const ChatClientLine &roomLine)
{
    QByteArray line = TerminalText(roomLine.screenName) + ":\t";
    if (m_colours)
        line += "\033[1m" + TerminalText(withoutTags(roomLine.shown)) + "\033[0m";
    else
        line += TerminalText(roomLine.shown);
    print(line);
}

// The text is escaped, so it holds no tab: it never looks like a line said.
void TerminalFace::printNotice(WindowHandle, const QString &text)
{
    print(m_colours ? "\033[2m-- " + TerminalText(text) + "\033[0m" : "-- " + TerminalText(text));
}

void TerminalFace::print(QByteArray line)
{
    line += '\n';
    std::fwrite(line.constData(), 1, std::size_t(line.size()), m_output);
    std::fflush(m_output);
}

void TerminalFace::printText(const QStringList &lines)
{
    for (const QString &line : lines)
        print(TerminalText(line));
}

void TerminalFace::needsDisplay(const QString &window)
{
    if (m_saidNeedsDisplay.contains(window))
        return;
    m_saidNeedsDisplay.insert(window);
    std::fprintf(stderr, "dun2: the %s needs a display\n", qPrintable(window));
    std::fflush(stderr);
}

void TerminalFace::printStatus(const QString &status)
{
    if (!status.isEmpty())
        std::fprintf(stderr, "dun2: %s\n", TerminalText(status).constData());
}

void TerminalFace::takeLine(const QByteArray &bytes)
{
    // Behind held lines, in their order.
    if (linesWait() || !m_held.empty()) {
        m_held.push_back(bytes);
        return;
    }
    deliverLine(bytes);
}

void TerminalFace::deliverLine(const QByteArray &bytes)
{
    QString line = QString::fromUtf8(bytes);
    if (!m_dialogs.empty()) {
        Dialog dialog = m_dialogs.back();
        if (dialog.once)
            m_dialogs.pop_back();
        dialog.answer(line);
        return;
    }
    sayInRoom(line);
}

void TerminalFace::sayInRoom(const QString &line)
{
    const WindowHandle room = m_client.currentRoom();
    const auto refuse = [](const char *why) { std::fprintf(stderr, "dun2: %s; nobody hears that\n", why); };
    if (!room) {
        refuse("not in a chat room");
        return;
    }
    if (!line.startsWith("/as ")) {
        m_client.postTyped(room, line);
        return;
    }
    if (m_client.hasPoster(room)) {
        refuse("/as speaks only in a local room");
        return;
    }
    QString rest = line.mid(4);
    qsizetype blank = rest.indexOf(' ');
    QString name = blank < 0 ? rest : rest.left(blank);
    QString text = blank < 0 ? QString() : rest.mid(blank + 1);
    m_client.say(room, name, text);
}

void TerminalFace::takeEndOfInput()
{
    if (linesWait() || !m_held.empty()) {
        m_endHeld = true;
        return;
    }
    // Dialogs waiting for a line are answered with nothing: they cancel.
    // Dialogs that wait while shown stay; questions are cancelled.
    const auto dialogs = m_dialogs;
    std::erase_if(m_dialogs, [](const Dialog &d) { return d.once; });
    for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it)
        it->answer(std::nullopt);
    finishWhenIdle();
}

void TerminalFace::finishWhenIdle()
{
    // Lines said just before the end may still be queued for their
    // handlers, and a handler may be inside a wait: look again shortly.
    QTimer::singleShot(50, this, [this] {
        if (NestedLoop::depth() == 0)
            QTimer::singleShot(50, this, [this] {
                if (NestedLoop::depth() == 0)
                    emit finished();
                else
                    finishWhenIdle();
            });
        else
            finishWhenIdle();
    });
}
