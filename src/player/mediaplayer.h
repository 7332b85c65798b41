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
// Every change of GStreamer's state, and every look at the file, is made
// on the pipeline's own worker thread: a file system that stops answering
// holds that thread alone, and the player goes on with a new pipeline.
#pragma once

#include "player/gsthandle.h"
#include "player/tracktags.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

typedef struct _GstStructure GstStructure;

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
    // reference the caller holds stays the caller's. A pipeline made in
    // place of one that hung plays on a silent sink.
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
    // Microseconds into the loaded track and its length (as last told); -1
    // where GStreamer cannot tell (nothing loaded, or stopped).
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
    // Whether the last stop is over: the file before is let go of, and
    // nothing of it is still on its way.
    bool settled() const { return m_settled; }

    // Hundredths of a decibel, 0 = full volume.
    void setVolume(long hundredthsDb);
    long volume() const;
    // Hundredths of a decibel by which the other channel is turned down:
    // negative keeps the left channel, positive keeps the right one.
    void setBalance(long hundredthsDb);
    long balance() const;
    void setMute(bool mute);
    bool muted() const;

    // What plays goes also to a branch that `makeBranch` makes (an element
    // with a sink pad, floating), before the owner's balance, volume and
    // mute: one for each pipeline the player plays in. It is given each
    // buffer after the owner's sink, in the same thread, so it must take it
    // at once and never wait on anything. Only while nothing has been
    // loaded yet; false when it can't be added.
    bool alsoSendTo(std::function<GstElement *()> makeBranch);

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
    struct Pipeline;
    using SinkMaker = std::function<GstHandle<GstElement>()>;
    MediaPlayer(SinkMaker makeSink, QObject *parent);
    // A start's verdict, shared by every wait begun for it: the player may
    // have moved on to another file by the time a wait returns.
    struct StartVerdict {
        bool decided = false;
        bool plays = false;
    };
    // What the worker tells of a job it has done, through the bus.
    enum class Done { Halted, Started, Played, Paused, Measured };

    // A pipeline with the owner's volume, balance and mute, and the branch;
    // the one before it, if any, is left to stop when it can.
    void build();
    // The pipeline's worker has hung on a job: the player goes on in a new
    // one, unless too many left behind still hang (false).
    bool replaceHungPipeline();
    void beginStart(const QByteArray &path, const QByteArray &uri);
    void startTimedOut();
    void prerolled();
    // Every wait for the start under way returns with this verdict.
    void decideStart(bool plays);
    bool waitFor(std::shared_ptr<StartVerdict> start);
    // Sets GStreamer going towards `state` and has the worker say how that went.
    void change(int state, Done done);
    // Asking a file its length may reach down to the file system, so the
    // worker asks, and the length is kept here until it changes.
    void measureDuration();
    // Leaves playback stopped with nothing of the file before on the bus;
    // the device is kept open unless it is to be let go.
    void halt(bool releaseDevice);
    void drainBus();
    void handle(GstMessage *message);
    void handleDone(const GstStructure *done);
    // A change the device refused after the start: playback ends, as on an error.
    void failPlayback(const QString &reason);
    void noteTags(GstMessage *message);

    SinkMaker m_makeSink;
    std::function<GstElement *()> m_makeBranch;
    std::unique_ptr<Pipeline> m_pipeline;
    // Bumped at each halt: what the worker tells of an earlier file is old news.
    quint32 m_epoch = 0;
    // The last halt is done, so what the bus brings is of the file now loaded.
    bool m_settled = true;
    std::shared_ptr<StartVerdict> m_start; // the start under way, if any
    quint64 m_startJob = 0;                // the worker's job that opens it
    QByteArray m_startPath, m_startUri;
    QTimer m_startTimeout;
    QByteArray m_fileName;
    QString m_soundProblem;
    TrackTags m_tags;
    bool m_loaded = false; // the last file given could be decoded
    bool m_seekable = false; // asked of it once it could
    qint64 m_duration = -1;  // microseconds, as last measured
    State m_state = State::Stopped;
    long m_volume = 0;
    long m_balance = 0;
    bool m_mute = false;
};
