// A real Icecast server for the tests (Debian's icecast2), started on
// 127.0.0.1 at a port held for it, with a configuration written into its
// own temporary folder; and a listener that plays its mounts as a
// listener's player would, noting the titles it is shown and whether it
// hears sound.
#pragma once

#include "portclaim.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

typedef struct _GstElement GstElement;

class TestIcecast
{
public:
    explicit TestIcecast(const QString &sourcePassword) : m_password(sourcePassword) {}
    ~TestIcecast() { stop(); }

    // Returns once it answers on its port; false, with its log printed,
    // when it could not start. A start after stop() uses the same port.
    bool start();
    void stop();
    QString listenUrl(const QString &mount) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_port.port()).arg(mount);
    }

private:
    QString m_password;
    QTemporaryDir m_dir;
    PortClaim m_port;
    std::unique_ptr<QProcess> m_process;
};

class StreamListener
{
public:
    explicit StreamListener(const QString &url);
    ~StreamListener();

    // Takes in what the listener's player has reported so far.
    void update();
    // What the player shows as the stream's title, in order of arrival.
    const QStringList &titles() const { return m_titles; }
    // Whether it has heard more than silence since it last reset that.
    bool heardSound() const { return m_heardSound; }
    void resetHeard() { m_heardSound = false; }
    // Whether sound or silence has reached it: it is connected and taking the stream.
    bool receiving() const { return m_receiving; }
    bool failed() const { return m_failed; }

private:
    GstElement *m_pipeline = nullptr;
    QStringList m_titles;
    bool m_heardSound = false;
    bool m_receiving = false;
    bool m_failed = false;
};
