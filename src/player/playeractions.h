// The one owner of what the player does, whichever road asks for it: the
// main window's buttons and bars, the chat commands, the options menu, the
// song picker and MPRIS only call it. It acts on the player's state (a
// model, player/playerstate.h) and on the player, and says what it did;
// every face follows the state's signals, so that none has to poll.
#pragma once

#include "player/mediaplayer.h"
#include "player/playerstate.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

// Says one message in the chat room, as a styled line.
using Announce = std::function<void(const QString &message)>;

class PlayerActions : public QObject
{
    Q_OBJECT

public:
    // Everything is said through announce but the song picker's own lines.
    // Emptying the now-playing list also empties the song picker's list,
    // which lives with the picker.
    PlayerActions(PlayerState &state, MediaPlayer &player, Announce announce,
                  std::function<void()> emptyPickerList = {}, QObject *parent = nullptr);

    // A change of the track list's selection: refills the now-playing list.
    void selectionChanged();
    void emptyNowPlaying();
    // A song search's matches, none of them selected, or the only one.
    void listMatches(const NameList &matches);
    // The play button and a double-click on the list. Each of these that
    // starts a track says whether it plays ("<b>playing</b>: " or
    // "<b>error</b>, can't play: "); with no track to name it does and
    // says nothing.
    void playSelected();
    // The desktop's play: as the play button, or with no track to name the
    // first entry of the list (one drawn at random in random mode), selected
    // and played as the play button plays it.
    void playSelectedOrFirst();
    // Selects the entry listed for this file (the path as the file system
    // spells it) and plays it as the play button; false when it is not
    // listed or does not play.
    bool playFile(const QByteArray &path);
    // Moves within the track that plays or is paused; false, and nothing
    // done, when it cannot be moved within.
    bool seek(qint64 microseconds);
    void pause();
    void stop();
    // On the last entry, as on an empty list, nothing is done or said.
    void next();
    // False when the first entry is selected: nothing is done or said, and
    // a command's handling ends. With nothing selected nothing is done or
    // said either, but the handling goes on (true).
    bool previous();
    void refresh();
    int trackCount() const;
    // The player reported the natural end of the current track.
    void endOfTrack();
    // The player reported that the current track broke off.
    void playbackFailed();
    // An entry of the track list drawn at random, after emptying the
    // now-playing list and waiting; another wait before it is announced.
    void playRandomTrack(double waitBeforeDrawing, double waitBeforeAnnouncing);

    // Stops what plays and loads a track of the list's directory by its
    // file name; nothing with no name. A voice given is the road's own
    // (the song picker's), else the owner's is used.
    void playNamed(const QString &fileName, const Announce &voice = {});
    // Loads a track of the list's directory, waits and says whether it
    // plays; true when it does.
    bool startTrack(const QString &fileName, double waitBeforeAnnouncing = 0, const Announce &voice = {});
    // Opens an entry drawn at random from another list of track names (the
    // song picker's), after showing which (select), and says so. False, and
    // nothing done, when the list is empty.
    bool playRandomListEntry(const NameList &entries, const std::function<void(int)> &select,
                             const Announce &voice = {});

    // The two modes exclude each other. Switching one on refuses while the
    // other is on, and then false ends a command's handling.
    bool randomModeOn();
    void randomModeOff();
    bool continuousModeOn();
    void continuousModeOff();

    // The bars drive the player silently.
    void volumeBarMoved(int percent);
    void balanceBarMoved(int value);
    // The exact volume asked for, between 1 and 100 per cent, shown and
    // said as typed.
    void setVolume(double percent, const QString &asTyped);
    // Moves the balance bar to -5000, 0 or 5000 and says so.
    void setBalance(int value);
    void toggleMute();

    // What a face shows between the signals.
    const PlayerState &state() const { return m_state; }
    const MediaPlayer &player() const { return m_player; }
    // Whether play, next and previous would start a track now.
    bool hasTrackToPlay() const;
    // A track is loaded and its start not yet decided: to a face that
    // toggles, it already plays.
    bool starting() const { return bool(m_pendingStart); }
    bool hasNext() const;
    bool hasPrevious() const;
    // As a drag of the volume bar and a click on the random box: silent.
    void moveVolumeBar(int percent);
    void setRandomMode(bool on);
    void setContinuousMode(bool on);

    // The replies of one mode's switch.
    struct ModeWords {
        const char *otherIsOn, *alreadyOn, *turnedOn, *alreadyOff, *turnedOff;
    };

signals:
    void trackLengthChanged(); // known, or better estimated, once it plays
    void trackTagsChanged();   // the playing file told more of its tags

private:
    // Selects an entry and refills the now-playing list, also when that
    // entry was selected already (the list may have been emptied).
    void select(int index);
    bool playing() const;
    // Pause and stop: only what plays is ended, and then named.
    void endPlaying(void (MediaPlayer::*end)(), const char *said);
    void announceStart(bool started, const QString &fileName, const Announce &voice) const;
    void playNextInList();
    using ModeSetter = void (PlayerState::*)(bool);
    bool switchOn(bool isOn, bool otherIsOn, ModeSetter set, const ModeWords &words);
    void switchOff(bool isOn, ModeSetter set, const ModeWords &words);
    // Tells the faces when the player's state is no longer what they were told.
    void notePlayState();
    // The rest of a start is done as soon as the player decides it, from
    // whatever handler runs then. A road that changes what plays, coming
    // while a track starts, first lets that start come to its verdict and
    // say it, as if it had come after it.
    void startDecided(bool started);
    void finishPendingStart();

    PlayerState &m_state;
    MediaPlayer &m_player;
    Announce m_announce;
    std::function<void()> m_emptyPickerList;
    // What the start under way still has to do once the player decides it.
    std::function<void(bool started)> m_pendingStart;
};
