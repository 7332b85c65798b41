// The player every sound of the program comes from: one GStreamer playbin
// behind the members the rest of the code calls by name. Loading a file
// starts it, playState reads Playing (2) only while it plays, and each
// natural end of a file is reported once, on the window thread, as is an
// error that ends playback. Where GStreamer lacks the elements it needs the
// player still exists and refuses every file.
//
// A start is decided by the bus (the file prerolled, or failed) or by a
// timeout, never by holding the window thread: loading waits in a nested
// event loop, so windows, chat lines and the network are served meanwhile
// and any handler may run inside a load. Whatever loads or stops meanwhile
// ends the start under way, and that load then says it does not play.
#pragma once

#include "player/gsthandle.h"
#include "player/tracktags.h"

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <memory>

typedef struct _GstBus GstBus;

class MediaPlayer : public QObject
{
    Q_OBJECT

public:
    enum class AudioOutput { Device, Silent };
    // Unscoped: these are the numbers playState has always read.
    enum State : int { Stopped = 0, Paused = 1, Playing = 2 };
    Q_ENUM(State)

    explicit MediaPlayer(AudioOutput output = AudioOutput::Device, QObject *parent = nullptr);
    // Plays into the given sink: a floating reference is taken over, a
    // reference the caller holds stays the caller's.
    explicit MediaPlayer(GstElement *audioSink, QObject *parent = nullptr);
    ~MediaPlayer() override;

    // Loads the file and starts it; false (and not playing) when it is no
    // regular file or cannot be decoded. The path is the file system's
    // bytes, which need not be UTF-8.
    bool load(const QByteArray &path);
    // The path last given, decoded for showing.
    QString fileName() const;
    // Waits, as loading does, until the start under way has its verdict;
    // returns at once when none is under way.
    void waitForStart();
    // The same path as the file system spells it.
    const QByteArray &filePath() const { return m_fileName; }
    // Microseconds into the loaded track and its length; -1 where GStreamer
    // cannot tell (nothing loaded, or stopped).
    qint64 position() const;
    qint64 duration() const;
    // Whether the loaded track can be moved within while it plays or is
    // paused; moving only sets GStreamer going there (the move is
    // asynchronous), false when it refuses at once.
    bool seekable() const;
    bool seek(qint64 microseconds);
    // What the loaded file's tags have told so far, from its start on.
    const TrackTags &tags() const { return m_tags; }

    void play();
    void pause();
    void stop();
    State playState() const;

    // Hundredths of a decibel, 0 = full volume.
    void setVolume(long hundredthsDb);
    long volume() const;
    // Hundredths of a decibel by which the other channel is turned down:
    // negative keeps the left channel, positive keeps the right one.
    void setBalance(long hundredthsDb);
    long balance() const;
    void setMute(bool mute);
    bool muted() const;

    // What plays goes also to `branch` (an element with a sink pad, taken
    // over as the sink is), before the owner's balance, volume and mute. It
    // is given each buffer after the owner's sink, in the same thread, so it
    // must take it at once and never wait on anything. Only while nothing
    // has been loaded yet; false when it can't be added.
    bool alsoSendTo(GstElement *branch);

    // Why the player is silent or cannot play at all ("" when it plays on
    // the sound device or sink it was given), for the user to read.
    QString soundProblem() const { return m_soundProblem; }

signals:
    void endOfStream();
    // Playback ended early (the file turned unreadable or undecodable, the
    // device failed); the player is stopped by the time this is emitted.
    void playbackFailed(const QString &reason);
    // Most tracks tell their length only once they play, and may correct it.
    void durationChanged();
    // The playing file told more of its tags. Not sent while a file starts:
    // whoever hears that it plays reads what it told meanwhile.
    void tagsChanged();
    // What a load returns, sent the moment it is known: the load's caller
    // may still be below a handler that began during the wait.
    void startDecided(bool plays);

private:
    // A start's verdict, shared by every wait begun for it: the player may
    // have moved on to another file by the time a wait returns.
    struct StartVerdict {
        bool decided = false;
        bool plays = false;
    };

    void build(GstHandle<GstElement> audioSink);
    GstHandle<GstElement> makeOutput(GstHandle<GstElement> audioSink);
    // Sets the playbin going towards its first sound; the bus or the timeout decides.
    void beginStart();
    void prerolled();
    // Every wait for the start under way returns with this verdict.
    void decideStart(bool plays);
    bool waitFor(std::shared_ptr<StartVerdict> start);
    // Leaves playback stopped with no message of it left on the bus; the
    // device is kept open unless it is to be let go.
    void halt(bool releaseDevice);
    void drainBus();
    void handle(GstMessage *message);
    void noteTags(GstMessage *message);

    // Declared in the order they are made: the notifier goes before the
    // bus whose descriptor it watches.
    GstPipelineHandle m_playbin;
    // Owned by m_playbin, as parts of its audio sink.
    GstElement *m_output = nullptr;
    GstElement *m_panorama = nullptr;
    GstElement *m_volumeControl = nullptr;
    GstHandle<GstBus> m_bus;
    QSocketNotifier m_busNotifier{QSocketNotifier::Read};
    std::shared_ptr<StartVerdict> m_start; // the start under way, if any
    QTimer m_startTimeout;
    QByteArray m_fileName;
    QString m_soundProblem;
    TrackTags m_tags;
    bool m_loaded = false; // the last file given could be decoded
    bool m_seekable = false; // asked of it once it could
    State m_state = State::Stopped;
    long m_volume = 0;
    long m_balance = 0;
    bool m_mute = false;
};
