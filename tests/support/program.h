// The program as a user without a screen runs it: a subprocess in the
// terminal face, fed on standard input, read back on its outputs.
#pragma once

#include "files.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

class Program
{
public:
    // extraEnvironment: "NAME=value" entries set for this run only. An
    // empty home runs the program without --home.
    Program(const QString &home, const QStringList &arguments, const QStringList &extraEnvironment = {},
            const QString &workingDirectory = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DUN2_IRC_PASSWORD",
                                 "DUN2_IRC_SERVER_PASSWORD", "DUN2_STREAM_PASSWORD"})
            environment.remove(name);
        for (const QString &entry : extraEnvironment)
            environment.insert(entry.section('=', 0, 0), entry.section('=', 1));
        m_process.setProcessEnvironment(environment);
        m_process.setWorkingDirectory(workingDirectory);
        m_process.start(qEnvironmentVariable("DUN2_PROGRAM"),
                        (home.isEmpty() ? QStringList() : QStringList{"--home", home}) + arguments);
    }
    ~Program()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(20000))
            m_process.kill();
    }

    qint64 pid() const { return m_process.processId(); }
    void write(const QByteArray &input) { m_process.write(input); }
    void type(const QByteArray &line) { write(line + "\n"); }
    void endInput() { m_process.closeWriteChannel(); }
    QByteArray out() { return m_out += m_process.readAllStandardOutput(); }
    QByteArray errors() { return m_err += m_process.readAllStandardError(); }
    bool saidOnOut(const QByteArray &part, int timeoutMs = 15000) { return said(&Program::out, part, timeoutMs); }
    bool saidOnError(const QByteArray &part, int timeoutMs = 15000) { return said(&Program::errors, part, timeoutMs); }
    // Ends the input; the program ends by itself once it is idle.
    int exitCode(int timeoutMs = 20000)
    {
        m_process.closeWriteChannel();
        if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(timeoutMs))
            return -1;
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

private:
    bool said(QByteArray (Program::*read)(), const QByteArray &part, int timeoutMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!(this->*read)().contains(part) && !deadline.hasExpired())
            m_process.waitForReadyRead(100);
        return (this->*read)().contains(part);
    }

    QProcess m_process;
    QByteArray m_out;
    QByteArray m_err;
};

// A home that is also the music directory, holding empty files of the given
// track names, with preferences that name it and a handle, so the program
// starts without asking anything.
inline void fillHome(const QString &home, const QStringList &tracks = {})
{
    QVERIFY(writeFile(home + "/prefs.ini", "[info]\r\nmp3 path=" + home.toUtf8() + "\r\nhandle=Ann\r\n"));
    for (const QString &track : tracks)
        QVERIFY(QFile(home + "/" + track + ".mp3").open(QIODevice::WriteOnly));
}
