#include "world.h"

#include "app/mainwindow.h"
#include "app/programcore.h"
#include "platform/inifile.h"
#include "platform/nestedloop.h"
#include "platform/programend.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <algorithm>

TestWorld::TestWorld(const QString &screenName, GstElement *audioSink)
    : player(audioSink)
    , environment{desktop, m_client, player, playerState, inputBox, messageBox, QString(), nullptr}
    , m_client(desktop, screenName)
{
    environment.home = m_home.path();
    QDir(m_home.path()).mkpath("music");
    m_room = m_client.openRoom("Test Room");
    QObject::connect(&m_client, &ChatClient::lineReceived,
                     [this](WindowHandle, const ChatClientLine &line) {
                         m_lines.push_back({line.screenName, line.text});
                     });
    setProgramEndHook([this] { m_ended = true; });
}

TestWorld::~TestWorld()
{
    setProgramEndHook({});
    m_program.reset();
    // Windows unloaded with deleteLater (the style editor after a save) go
    // now, not at some later test's event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestWorld::writePreferences(const QString &mp3Path, const QString &handle)
{
    if (!mp3Path.isEmpty())
        WriteIni("iNfO", "mp3 path", mp3Path, preferencesPath());
    if (!handle.isEmpty())
        WriteIni("info", "handle", handle, preferencesPath());
}

MainWindow &TestWorld::make()
{
    if (!m_program) {
        m_program = std::make_unique<ProgramCore>(environment);
        m_mainWindow = &m_program->mainWindow();
    }
    return *m_mainWindow;
}

MainWindow &TestWorld::start(std::optional<QString> promptAnswer)
{
    make();
    if (ReadIni("info", "handle", preferencesPath()).isEmpty())
        answerNextInputBox(promptAnswer);
    m_mainWindow->load();
    return *m_mainWindow;
}

void TestWorld::sayAs(const QString &screenName, const QString &text)
{
    m_client.say(m_room, screenName, text);
}

QStringList TestWorld::lines(bool usersOnly) const
{
    QStringList texts;
    for (const Line &line : m_lines)
        if (!usersOnly || line.screenName == m_client.screenName())
            texts << line.text;
    return texts;
}

namespace {

// The sentinel's command word and what its answer holds.
const QString SentinelWord = QStringLiteral("mp3s?");
const QString SentinelAnswer = QStringLiteral("mp3 count </b>");

} // namespace

bool TestWorld::isSentinel(const QString &text)
{
    return text.endsWith(SentinelWord) || text.contains(SentinelAnswer);
}

bool TestWorld::waitUntilHandled(int timeoutMs)
{
    const QString sentinel = m_program->settings.trigger + SentinelWord;
    const qsizetype from = qsizetype(m_lines.size());
    say(sentinel);
    const auto isAnswer = [this](const Line &line) {
        return line.screenName == m_client.screenName() && line.text.contains(SentinelAnswer);
    };
    // Looked for from the test's own frame, the answer is seen only once
    // every wait begun inside the event processing has returned. The line
    // being waited for may be a count query too; the sentinel, said after
    // it, is answered after it.
    const bool handled =
        QTest::qWaitFor([&] { return std::any_of(m_lines.begin() + from, m_lines.end(), isAnswer); }, timeoutMs);
    if (handled) {
        const auto lastAnswer = std::find_if(m_lines.rbegin(), m_lines.rend(), isAnswer);
        m_lines.erase(std::next(lastAnswer).base());
    }
    const auto said = std::find_if(m_lines.begin() + from, m_lines.end(), [&](const Line &line) {
        return line.screenName == m_client.screenName() && line.text == sentinel;
    });
    if (said != m_lines.end())
        m_lines.erase(said);
    return handled;
}

void duringNextWait(std::function<void()> action)
{
    // Timers fire in the order they fall due, so the poll runs inside the
    // wait before the wait's own deadline, even on a machine that stalls.
    auto *poll = new QTimer(QCoreApplication::instance());
    poll->setInterval(1);
    const int outside = NestedLoop::depth();
    QObject::connect(poll, &QTimer::timeout, [poll, outside, action = std::move(action)] {
        if (NestedLoop::depth() <= outside)
            return;
        poll->stop();
        poll->deleteLater();
        action();
    });
    poll->start();
}

void answerNextInputBox(std::optional<QString> answer)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (answer) {
            dialog->setTextValue(*answer);
            dialog->accept();
        } else {
            dialog->reject();
        }
        poll->stop();
        poll->deleteLater();
    });
    poll->start();
}

MessageBoxAnswer::MessageBoxAnswer()
    : m_poll(std::make_unique<QTimer>())
{
    m_poll->setInterval(10);
    QObject::connect(m_poll.get(), &QTimer::timeout, [this] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        m_seen = true;
        m_title = box->windowTitle();
        m_text = box->text();
        m_poll->stop();
        box->button(QMessageBox::Ok)->click();
    });
    m_poll->start();
}

MessageBoxAnswer::~MessageBoxAnswer() = default;
