#include "player/playerstate.h"

PlayerState::PlayerState(QObject *parent)
    : QObject(parent)
{
}

void PlayerState::setNowPlaying(const NameList &names, int selected)
{
    if (names == m_nowPlaying.items() && m_nowPlaying.listIndex() == selected)
        return;
    m_nowPlaying.clear();
    m_nowPlaying.addItems(names);
    m_nowPlaying.setListIndex(selected);
    emit nowPlayingChanged();
}

void PlayerState::setRandom(bool on)
{
    if (on == m_random)
        return;
    if (on)
        setContinuous(false);
    m_random = on;
    emit randomChanged(on);
}

void PlayerState::setContinuous(bool on)
{
    if (on == m_continuous)
        return;
    if (on)
        setRandom(false);
    m_continuous = on;
    emit continuousChanged(on);
}

void PlayerState::setVolume(int percent, const QString &shown)
{
    if (percent == m_volume && shown == m_volumeShown)
        return;
    m_volume = percent;
    m_volumeShown = shown;
    emit volumeChanged(percent);
}

void PlayerState::setBalance(int value, const QString &name)
{
    if (value == m_balance && name == m_balanceName)
        return;
    m_balance = value;
    m_balanceName = name;
    emit balanceChanged(value);
}

void PlayerState::setMuted(bool muted)
{
    if (muted == m_muted)
        return;
    m_muted = muted;
    emit muteChanged(muted);
}

void PlayerState::setPlayState(MediaPlayer::State state)
{
    if (state == m_playState)
        return;
    m_playState = state;
    emit playStateChanged(state);
}

void PlayerState::setTrack(const QString &fileName, const QByteArray &path)
{
    if (fileName == m_track && path == m_trackPath)
        return;
    m_track = fileName;
    m_trackPath = path;
    emit trackChanged(fileName);
}
