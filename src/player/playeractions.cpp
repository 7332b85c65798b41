#include "player/playeractions.h"

#include "platform/programend.h"
#include "player/randomnumber.h"
#include "player/trackname.h"
#include "player/waitseconds.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Between choosing the next track, loading it and saying so.
constexpr double SettleSeconds = 0.3;

// Hundredths of a decibel for a volume in per cent: 100 is full, 1 is
// -2475; halves go to the even neighbour.
long volumeFor(double percent)
{
    return long(std::nearbyint(percent * 25 - 2500));
}

// What switching a mode says: each mode names the other when refusing.
const PlayerActions::ModeWords RandomWords{
    .otherIsOn = "<b>cont</b>inous mode is on",
    .alreadyOn = "<b>a</b>uto <b>rand</b>om is already on",
    .turnedOn = "<b>a</b>uto <b>rand</b>om on",
    .alreadyOff = "<b>a</b>uto <b>rand</b>om mode is already off",
    .turnedOff = "<b>a</b>uto <b>rand</b>om mode turned off",
};
const PlayerActions::ModeWords ContinuousWords{
    .otherIsOn = "<b>a</b>uto <b>rand</b>om mode is on",
    .alreadyOn = "<b>cont</b>inous mode is already on",
    .turnedOn = "<b>cont</b>inous mode turned on",
    .alreadyOff = "<b>cont</b>inous mode is already off",
    .turnedOff = "<b>cont</b>inous mode turned off",
};

// 0 and the last index are each half as likely as one between them.
int randomIndex(int count)
{
    return int(RandomNumber(count - 1, true));
}

// What the balance's label says at a bar's value; at exactly -500 and 500
// none of the tests holds, and the label keeps what it said.
QString balanceNameAt(int value, const QString &before)
{
    QString name = before;
    if (value > -500 && value < 500)
        name = "Center";
    if (value < -500)
        name = "Left";
    if (value > 500)
        name = "Right";
    return name;
}

} // namespace

PlayerActions::PlayerActions(PlayerState &state, MediaPlayer &player, Announce announce,
                             std::function<void()> emptyPickerList, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_player(player)
    , m_announce(std::move(announce))
    , m_emptyPickerList(std::move(emptyPickerList))
{
    m_state.setPlayState(m_player.playState());
    connect(&m_player, &MediaPlayer::durationChanged, this, &PlayerActions::trackLengthChanged);
    connect(&m_player, &MediaPlayer::tagsChanged, this, &PlayerActions::trackTagsChanged);
    connect(&m_player, &MediaPlayer::endOfStream, this, &PlayerActions::endOfTrack);
    connect(&m_player, &MediaPlayer::playbackFailed, this, &PlayerActions::playbackFailed);
    // Any change of the selection counts as a click on the list.
    connect(&m_state.tracks(), &FileListModel::selectionChanged, this, &PlayerActions::selectionChanged);
    connect(&m_player, &MediaPlayer::startDecided, this, &PlayerActions::startDecided);
}

void PlayerActions::selectionChanged()
{
    m_state.setNowPlaying(NameList(QStringList{m_state.tracks().fileName()}), 0);
}

void PlayerActions::select(int index)
{
    m_state.tracks().setListIndex(index);
    selectionChanged();
}

void PlayerActions::emptyNowPlaying()
{
    m_state.setNowPlaying({}, -1);
    if (m_emptyPickerList)
        m_emptyPickerList();
}

void PlayerActions::listMatches(const NameList &matches)
{
    m_state.setNowPlaying(matches, matches.size() == 1 ? 0 : -1);
}

bool PlayerActions::playing() const
{
    return m_player.playState() == MediaPlayer::Playing;
}

void PlayerActions::notePlayState()
{
    m_state.setPlayState(m_player.playState());
}

void PlayerActions::announceStart(bool started, const QString &fileName, const Announce &voice) const
{
    // A file the player cannot play is said so, rather than claimed to be playing.
    (voice ? voice : m_announce)((started ? "<b>playing</b>: " : "<b>error</b>, can't play: ") + TrackName(fileName));
}

bool PlayerActions::startTrack(const QString &entry, double waitBeforeAnnouncing, const Announce &voice)
{
    // A copy: the name may be an entry of a list that changes while an
    // earlier start is finished.
    const QString fileName = entry;
    finishPendingStart();
    const QByteArray path = m_state.tracks().filePath(fileName);
    m_pendingStart = [this, fileName, path, waitBeforeAnnouncing, voice](bool started) {
        m_state.setTrack(fileName, path);
        notePlayState();
        WaitSeconds(waitBeforeAnnouncing);
        announceStart(started, fileName, voice);
    };
    const bool started = m_player.load(path);
    // A path refused before any start began is decided here.
    startDecided(started);
    return started;
}

void PlayerActions::startDecided(bool started)
{
    const auto rest = std::exchange(m_pendingStart, {});
    // Nothing is said after the program's goodbye.
    if (rest && !ProgramLeaving())
        rest(started);
}

void PlayerActions::finishPendingStart()
{
    if (m_pendingStart)
        m_player.waitForStart();
}

void PlayerActions::playNamed(const QString &entry, const Announce &voice)
{
    // No track to name: loading the bare directory would only say so badly.
    if (entry.isEmpty())
        return;
    const QString fileName = entry; // as in startTrack
    finishPendingStart();
    if (playing())
        m_player.stop();
    startTrack(fileName, 0, voice);
}

void PlayerActions::playSelected()
{
    playNamed(m_state.nowPlayingName());
}

void PlayerActions::playSelectedOrFirst()
{
    const int count = m_state.tracks().listCount();
    if (!hasTrackToPlay() && count > 0)
        select(m_state.random() ? randomIndex(count) : 0);
    playSelected();
}

bool PlayerActions::playFile(const QByteArray &path)
{
    const int listed = m_state.tracks().indexOfPath(path);
    if (listed < 0)
        return false;
    select(listed);
    const QString fileName = m_state.nowPlayingName();
    playSelected();
    // Whatever ran during the start, its verdict was on this file.
    return m_state.track() == fileName && playing();
}

bool PlayerActions::seek(qint64 microseconds)
{
    return m_player.seek(microseconds);
}

void PlayerActions::pause()
{
    endPlaying(&MediaPlayer::pause, "<b>paused</b>: ");
}

void PlayerActions::stop()
{
    endPlaying(&MediaPlayer::stop, "<b>stopped</b>: ");
}

void PlayerActions::endPlaying(void (MediaPlayer::*end)(), const char *said)
{
    finishPendingStart();
    if (!playing()) {
        m_announce("<b>error</b>, no mp3 playing");
        return;
    }
    (m_player.*end)();
    notePlayState();
    m_announce(said + TrackName(m_state.nowPlayingName()));
}

void PlayerActions::next()
{
    // Neither wraps round: on the last entry, as on an empty list, there is
    // no next track, and nothing is done or said.
    const int next = m_state.tracks().listIndex() + 1;
    if (next >= m_state.tracks().listCount())
        return;
    select(next);
    playSelected();
}

bool PlayerActions::hasTrackToPlay() const
{
    return !m_state.nowPlayingName().isEmpty();
}

bool PlayerActions::hasNext() const
{
    return m_state.tracks().listIndex() + 1 < m_state.tracks().listCount();
}

bool PlayerActions::hasPrevious() const
{
    return m_state.tracks().listIndex() > 0;
}

bool PlayerActions::previous()
{
    const int current = m_state.tracks().listIndex();
    if (current == 0)
        return false;
    // Nothing selected: no track before it to name.
    if (current < 0)
        return true;
    select(current - 1);
    playSelected();
    return true;
}

void PlayerActions::refresh()
{
    m_state.tracks().refresh();
    m_announce("directory refreshed ");
}

int PlayerActions::trackCount() const
{
    return m_state.tracks().listCount();
}

void PlayerActions::endOfTrack()
{
    notePlayState();
    // The two modes exclude each other; whichever is on when the track
    // ends decides, and only one track is started.
    if (m_state.continuous())
        playNextInList();
    else if (m_state.random())
        playRandomTrack(0, SettleSeconds);
}

void PlayerActions::playbackFailed()
{
    notePlayState();
    // Whichever road started it, the player's file is the track that broke
    // off; it is told like a track that could not start.
    announceStart(false, m_state.track(), {});
}

void PlayerActions::playNextInList()
{
    // After the last track playback simply stops; the now-playing name
    // stays, so play starts that track again.
    const int next = m_state.tracks().listIndex() + 1;
    if (next >= m_state.tracks().listCount())
        return;
    emptyNowPlaying();
    select(next);
    WaitSeconds(SettleSeconds);
    // Anything may have happened during the wait, the list re-read among
    // it: the track is whatever is selected now.
    const QString fileName = m_state.tracks().fileName();
    if (fileName.isEmpty())
        return;
    startTrack(fileName, SettleSeconds);
}

void PlayerActions::playRandomTrack(double waitBeforeDrawing, double waitBeforeAnnouncing)
{
    emptyNowPlaying();
    WaitSeconds(waitBeforeDrawing);
    // Counted after the wait: the list may have been read anew during it.
    const int count = m_state.tracks().listCount();
    if (count == 0)
        return;
    const int index = randomIndex(count);
    select(index);
    startTrack(m_state.tracks().list(index), waitBeforeAnnouncing);
}

bool PlayerActions::playRandomListEntry(const NameList &entries, const std::function<void(int)> &select,
                                        const Announce &voice)
{
    if (entries.isEmpty())
        return false;
    const int index = randomIndex(int(entries.size()));
    // A copy: the list is another's, and may change while the start waits.
    const QString fileName = entries.at(index);
    select(index);
    startTrack(fileName, 0, voice);
    return true;
}

bool PlayerActions::switchOn(bool isOn, bool otherIsOn, ModeSetter set, const ModeWords &words)
{
    // The other mode is asked first: nothing turns both on.
    if (otherIsOn) {
        m_announce(words.otherIsOn);
        return false;
    }
    if (isOn) {
        m_announce(words.alreadyOn);
    } else {
        m_announce(words.turnedOn);
        (m_state.*set)(true);
    }
    return true;
}

void PlayerActions::switchOff(bool isOn, ModeSetter set, const ModeWords &words)
{
    if (!isOn) {
        m_announce(words.alreadyOff);
    } else {
        (m_state.*set)(false);
        m_announce(words.turnedOff);
    }
}

bool PlayerActions::randomModeOn()
{
    return switchOn(m_state.random(), m_state.continuous(), &PlayerState::setRandom, RandomWords);
}

void PlayerActions::setRandomMode(bool on)
{
    m_state.setRandom(on);
}

void PlayerActions::setContinuousMode(bool on)
{
    m_state.setContinuous(on);
}

void PlayerActions::randomModeOff()
{
    switchOff(m_state.random(), &PlayerState::setRandom, RandomWords);
}

bool PlayerActions::continuousModeOn()
{
    return switchOn(m_state.continuous(), m_state.random(), &PlayerState::setContinuous, ContinuousWords);
}

void PlayerActions::continuousModeOff()
{
    switchOff(m_state.continuous(), &PlayerState::setContinuous, ContinuousWords);
}

void PlayerActions::volumeBarMoved(int percent)
{
    m_state.setVolume(percent, QString::number(percent) + "%");
    m_player.setVolume(volumeFor(percent));
}

void PlayerActions::moveVolumeBar(int percent)
{
    // Where the bar is already, the finer volume typed stays.
    if (percent != m_state.volume())
        volumeBarMoved(percent);
}

void PlayerActions::setVolume(double percent, const QString &asTyped)
{
    // The bar's whole step is replaced by the exact value of the number.
    m_state.setVolume(int(std::nearbyint(percent)), asTyped + "%");
    m_player.setVolume(volumeFor(percent));
    m_announce("<b>volume</b> set" + asTyped + "%");
}

void PlayerActions::balanceBarMoved(int value)
{
    m_state.setBalance(value, balanceNameAt(value, m_state.balanceName()));
    m_player.setBalance(value);
}

void PlayerActions::setBalance(int value)
{
    // Also where the bar was there already: the label may still read the
    // lower-case "center" it starts with.
    balanceBarMoved(value);
    m_announce("<b>balance</b>: " + m_state.balanceName().toLower());
}

void PlayerActions::toggleMute()
{
    const bool mute = !m_player.muted();
    m_player.setMute(mute);
    m_state.setMuted(mute);
    m_announce(mute ? "<b>mp3</b> player mute" : "<b>mp3</b> player unmute");
}
