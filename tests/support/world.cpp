#include "world.h"

#include "app/mainwindow.h"
#include "platform/inifile.h"
#include "platform/programend.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

TestWorld::TestWorld(const QString &screenName, GstElement *audioSink)
    : player(audioSink)
    , environment{desktop, m_client, player, inputBox, messageBox, QString(), nullptr}
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
    m_form1.reset();
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

Form1 &TestWorld::make()
{
    if (!m_form1)
        m_form1 = std::make_unique<Form1>(environment);
    return *m_form1;
}

Form1 &TestWorld::start(std::optional<QString> promptAnswer)
{
    make();
    if (ReadIni("info", "handle", preferencesPath()).isEmpty())
        answerNextInputBox(promptAnswer);
    m_form1->load();
    return *m_form1;
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

void TestWorld::settle(int ms)
{
    QTest::qWait(ms);
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
