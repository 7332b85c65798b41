// What the player is, apart from any window: the track list and its
// selection, the now-playing list, the play modes, volume, balance, mute,
// the play state and the current track. PlayerActions changes it; the main
// window's controls, MPRIS and the chat commands read it, and each change
// is told once, only when a value really changed.
#pragma once

#include "platform/filelistmodel.h"
#include "platform/listbox.h"
#include "player/mediaplayer.h"

#include <QObject>
#include <QString>
#include <QStringList>

class PlayerState : public QObject
{
    Q_OBJECT

public:
    explicit PlayerState(QObject *parent = nullptr);

    // The tracks of the MP3 folder and the selected one.
    FileListModel &tracks() { return m_tracks; }
    const FileListModel &tracks() const { return m_tracks; }

    // Its selected entry names the track play starts.
    const ListBox &nowPlaying() const { return m_nowPlaying; }
    QString nowPlayingName() const { return m_nowPlaying.text(); }
    void setNowPlaying(const NameList &names, int selected);

    // The two modes exclude each other: turning one on turns the other off.
    bool random() const { return m_random; }
    void setRandom(bool on);
    bool continuous() const { return m_continuous; }
    void setContinuous(bool on);

    // The volume bar, 1 to 100, and the per cent shown beside it: as typed,
    // which is finer than the bar's steps.
    int volume() const { return m_volume; }
    QString volumeShown() const { return m_volumeShown; }
    void setVolume(int percent, const QString &shown);
    // The balance bar, -5000 (left) to 5000 (right), and its name beside it.
    int balance() const { return m_balance; }
    QString balanceName() const { return m_balanceName; }
    void setBalance(int value, const QString &name);
    bool muted() const { return m_muted; }
    void setMuted(bool muted);

    MediaPlayer::State playState() const { return m_playState; }
    void setPlayState(MediaPlayer::State state);
    // The player's track as the list names it (a name that is not UTF-8 is
    // told as the list shows it, not as the path decodes) and its file.
    QString track() const { return m_track; }
    void setTrack(const QString &fileName, const QByteArray &path);

signals:
    void nowPlayingChanged();
    void randomChanged(bool on);
    void continuousChanged(bool on);
    void volumeChanged(int percent);
    void balanceChanged(int value);
    void muteChanged(bool muted);
    void playStateChanged(MediaPlayer::State state);
    void trackChanged(const QString &fileName);

private:
    FileListModel m_tracks;
    ListBox m_nowPlaying;
    bool m_random = false;
    bool m_continuous = false;
    // As the main window has always started: the bar at its lowest step,
    // the label at full, the balance's name in lower case.
    int m_volume = 1;
    QString m_volumeShown = "100%";
    int m_balance = 0;
    QString m_balanceName = "center";
    bool m_muted = false;
    MediaPlayer::State m_playState = MediaPlayer::Stopped;
    QString m_track;
    QByteArray m_trackPath;
};
