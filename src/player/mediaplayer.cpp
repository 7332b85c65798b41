#include "player/mediaplayer.h"

MediaPlayer::MediaPlayer(AudioOutput, QObject *parent) : QObject(parent) {}
MediaPlayer::MediaPlayer(GstElement *, QObject *parent) : QObject(parent) {}
bool MediaPlayer::setFileName(const QString &path) { m_fileName = path; return false; }
bool MediaPlayer::Open(const QString &path) { m_fileName = path; return false; }
