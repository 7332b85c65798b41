// TEMPORARY stand-in until the GStreamer player lands (same API).
#pragma once

#include <QObject>
#include <QString>

typedef struct _GstElement GstElement;

class MediaPlayer : public QObject
{
    Q_OBJECT

public:
    enum class AudioOutput { Device, Silent };
    explicit MediaPlayer(AudioOutput output = AudioOutput::Device, QObject *parent = nullptr);
    explicit MediaPlayer(GstElement *audioSink, QObject *parent = nullptr);
    bool setFileName(const QString &path);
    QString FileName() const { return m_fileName; }
    bool Open(const QString &path);
    void Play() {}
    void Pause() {}
    void Stop() {}
    int PlayState() const { return 0; }
    void setVolume(long v) { m_volume = v; }
    long Volume() const { return m_volume; }
    void setBalance(long b) { m_balance = b; }
    long Balance() const { return m_balance; }
    void setMute(bool m) { m_mute = m; }
    bool Mute() const { return m_mute; }

signals:
    void EndOfStream(long result);

private:
    QString m_fileName;
    long m_volume = 0;
    long m_balance = 0;
    bool m_mute = false;
};
