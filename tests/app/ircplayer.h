// The program as a user runs it on a real IRC network, for the tests: the
// player in its terminal face, a home with tracks, and what a participant
// reads of the player's announcements.
#pragma once

#include "chat/announcement.h"
#include "platform/irc/ircformat.h"
#include "support/rawircclient.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

// The program in its terminal face, its standard input kept open.
class Player
{
public:
    Player(const QString &home, const QStringList &arguments, const QStringList &extraEnvironment = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DUN2_IRC_PASSWORD"})
            environment.remove(name);
        for (const QString &entry : extraEnvironment)
            environment.insert(entry.section('=', 0, 0), entry.section('=', 1));
        m_process.setProcessEnvironment(environment);
        m_process.start(qEnvironmentVariable("DUN2_PROGRAM"), QStringList{"--home", home} + arguments);
    }
    ~Player()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(20000))
            m_process.kill();
    }

    void type(const QByteArray &line) { m_process.write(line + "\n"); }
    // Standard error so far: the link's state and why.
    QByteArray errors()
    {
        m_err += m_process.readAllStandardError();
        return m_err;
    }
    bool saidOnError(const QByteArray &part, int timeoutMs = 15000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!errors().contains(part) && !deadline.hasExpired())
            m_process.waitForReadyRead(100);
        return errors().contains(part);
    }
    QByteArray out()
    {
        m_out += m_process.readAllStandardOutput();
        return m_out;
    }
    int exitCode(int timeoutMs = 20000)
    {
        m_process.closeWriteChannel();
        if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(timeoutMs))
            return -1;
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

private:
    QProcess m_process;
    QByteArray m_out;
    QByteArray m_err;
};

// A home whose track list holds the given names, with a handle, so the
// player starts without asking anything.
inline void fillHome(const QString &home, const QStringList &tracks)
{
    QFile prefs(home + "/prefs.ini");
    QVERIFY(prefs.open(QIODevice::WriteOnly));
    prefs.write("[info]\r\nmp3 path=" + home.toUtf8() + "\r\nhandle=Ann\r\n");
    for (const QString &track : tracks)
        QVERIFY(QFile(home + "/" + track + ".mp3").open(QIODevice::WriteOnly));
}

inline QByteArray inIrc(const QString &message)
{
    return IrcFromChatMarkup(StylePieces::initial().styledLine(message)).toUtf8();
}

inline QByteArray said(const QByteArray &nick, const QByteArray &text)
{
    return nick + " PRIVMSG #music :" + text;
}

// Waits for the player's line in the channel, as a participant reads it.
inline bool heard(RawIrcClient &participant, const QByteArray &text, int timeoutMs = 15000)
{
    return participant.waitFor([&](const QByteArray &line) { return line.endsWith("PRIVMSG #music :" + text); },
                               timeoutMs)
        .contains(":ceo-player!");
}
