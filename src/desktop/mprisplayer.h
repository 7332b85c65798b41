// The player on the session bus (org.mpris.MediaPlayer2.Player): its
// methods are the main window's buttons, calling the player's actions; its
// properties read the player's state, and every change is told to the bus
// as it happens, whichever road made it.
#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QTimer>
#include <QVariantMap>

class PlayerActions;
class ProgramActions;

// Where the bus finds the program's media player.
inline constexpr char MprisObjectPath[] = "/org/mpris/MediaPlayer2";

class MprisPlayer : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(bool Shuffle READ shuffle WRITE setShuffle)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanControl READ yes CONSTANT)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(double Rate READ rate CONSTANT)
    Q_PROPERTY(double MinimumRate READ rate CONSTANT)
    Q_PROPERTY(double MaximumRate READ rate CONSTANT)
    // Changes all the time, and is never told: a client asks for it.
    Q_PROPERTY(qlonglong Position READ position)

public:
    MprisPlayer(QObject *object, PlayerActions &actions, ProgramActions &program);

    QString playbackStatus() const;
    QVariantMap metadata() const { return m_metadata; }
    double volume() const;
    void setVolume(double volume);
    bool shuffle() const;
    void setShuffle(bool on);
    bool canPlay() const;
    bool canPause() const;
    bool canGoNext() const;
    bool canGoPrevious() const;
    bool canSeek() const;
    bool yes() const { return true; }
    bool no() const { return false; }
    double rate() const { return 1.0; }
    qlonglong position() const;

public slots:
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    void Seek(qlonglong offset);
    // Ignored, as MPRIS asks, unless the track id is the current track's
    // and the position lies within it.
    void SetPosition(const QDBusObjectPath &track, qlonglong position);
    // A file it cannot play is answered with an error saying why; the
    // call is given to answer it.
    void OpenUri(const QString &uri, const QDBusMessage &call);

signals:
    void Seeked(qlonglong Position);

private:
    void moveTo(qint64 position);
    void trackChanged(const QString &fileName);
    void noteTags();
    void noteLength();
    // The values that can change, as the bus was last told them.
    QVariantMap changingValues() const;
    // One road's changes come as several signals (the track, then the
    // state): they are told together, once it has done.
    void changed() { m_telling.start(); }
    void tellChanges();

    PlayerActions &m_actions;
    ProgramActions &m_program;
    QVariantMap m_metadata;
    int m_trackNumber = 0;
    QVariantMap m_told;
    QTimer m_telling;
};
