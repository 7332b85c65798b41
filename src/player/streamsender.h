// The room's way to hear what plays: the player's sound, encoded, sent to an
// Icecast mount as a source client (HTTP PUT, as Icecast 2.4 takes it),
// from the window thread without ever waiting on the network. Nothing it
// does can stop or stall the owner's sound. A server that is down, refuses
// or goes away is tried again with growing waits; the title listeners see
// follows the track.
#pragma once

#include "player/streamencoder.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

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
    // The longest title sent; a longer one is cut.
    static constexpr int TitleLength = 256;

    explicit StreamSender(StreamTarget target, QObject *parent = nullptr);

    // What the player sends into (MediaPlayer::alsoSendTo), one for each
    // pipeline it plays in; floating.
    GstElement *makeInlet() { return m_encoder.makeInlet(); }
    // Starts sending, and keeps trying.
    void start();
    // What listeners see as the title; sent now and at every reconnection.
    void setTitle(const QString &title);
    QUrl listenUrl() const { return m_target.listenUrl; }

signals:
    // The server took the stream; `first` the first time in this run.
    void wentLive(bool first);
    // The stream is down, and why; it is tried again by itself.
    void wentDown(const QString &why);

private:
    enum class Phase { Down, Connecting, Asking, Live };

    void connectToServer();
    void ask();
    void readReply();
    void send();
    void fail(const QString &why);
    void sendTitle();

    StreamTarget m_target;
    StreamEncoder m_encoder;
    QTcpSocket m_socket;
    Phase m_phase = Phase::Down;
    QByteArray m_reply;
    QTimer m_deadline; // for connecting and the server's answer
    QTimer m_retry;
    int m_waitMs = 0;
    bool m_wasLive = false;
    bool m_encoding = false;
    QString m_title;
    QNetworkAccessManager m_network;
};
