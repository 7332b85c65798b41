// The room's way to hear what plays: an Icecast mount the player's sound is
// also sent to, as MP3 at a fixed bitrate. It has a pipeline of its own,
// fed through an in-process channel that plays silence while nothing comes
// (between tracks, paused, stopped), so the source stays connected and
// listeners are not dropped; nothing it does can stop or stall the
// owner's sound. A server that is down or goes away is tried again with
// growing waits; its title follows the track.
#pragma once

#include "player/gsthandle.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

typedef struct _GstBus GstBus;
class QSocketNotifier;

// Where a stream goes: the listen address of the mount (http://host:port/mount),
// which is also where the source connects, and the source password.
struct StreamTarget {
    QUrl listenUrl;
    QString password;
};

class StreamSender : public QObject
{
    Q_OBJECT

public:
    // The bitrate listeners get, in kbit/s: MP3 because every player
    // plays it and Icecast shows its title to them.
    static constexpr int Kbps = 128;
    // The longest title sent; a longer one is cut.
    static constexpr int TitleLength = 256;

    explicit StreamSender(StreamTarget target, QObject *parent = nullptr);
    ~StreamSender() override;

    // What the player sends into (MediaPlayer::alsoSendTo), once; floating.
    GstElement *makeInlet();
    // Starts sending, and keeps trying.
    void start();
    // What listeners see as the title; sent now and at every reconnection.
    void setTitle(const QString &title);
    QUrl listenUrl() const { return m_target.listenUrl; }
    bool isLive() const { return m_live; }

signals:
    // The server took the stream; `first` the first time in this run.
    void wentLive(bool first);
    // The stream is down, and why; it is tried again by itself.
    void wentDown(const QString &why);

private:
    void connectOnce();
    void drainBus();
    void fail(const QString &why);
    // The pipeline-th made took the stream.
    void noteLive(int pipeline);
    void sendTitle();

    StreamTarget m_target;
    QString m_channel;
    GstPipelineHandle m_pipeline;
    GstHandle<GstBus> m_bus;
    QSocketNotifier *m_busNotifier = nullptr;
    int m_pipelines = 0; // how many were made
    QTimer m_retry;
    int m_waitMs = 0;
    bool m_live = false;
    bool m_wasLive = false;
    QString m_title;
    QNetworkAccessManager m_network;
};
