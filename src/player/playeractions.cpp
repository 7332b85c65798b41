#include "player/playeractions.h"

#include "platform/clicklabel.h"
#include "platform/filelistbox.h"
#include "platform/listbox.h"
#include "platform/programend.h"
#include "platform/stringlistview.h"
#include "player/randomnumber.h"
#include "player/trackname.h"
#include "player/waitseconds.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <cmath>
#include <memory>
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

// Checking either box, by a click or by setting its value, unchecks the
// other; that unchecking is not the other box's own click, so its rule
// does not run and cannot undo the box just checked.
void excludeEachOther(QCheckBox *random, QCheckBox *continuous)
{
    auto ruling = std::make_shared<bool>(false);
    const auto exclude = [ruling](QCheckBox *other) {
        if (*ruling || !other->isChecked())
            return;
        *ruling = true;
        other->setChecked(false);
        *ruling = false;
    };
    QObject::connect(random, &QCheckBox::toggled, random, [exclude, continuous] { exclude(continuous); });
    QObject::connect(continuous, &QCheckBox::toggled, continuous, [exclude, random] { exclude(random); });
}

} // namespace

PlayerActions::PlayerActions(PlayerControls controls, Announce announce, QObject *parent)
    : QObject(parent)
    , m_controls(std::move(controls))
    , m_player(m_controls.player)
    , m_announce(std::move(announce))
    , m_playState(m_player.PlayState())
{
    excludeEachOther(m_controls.Check1, m_controls.Check2);
    connect(m_controls.Check1, &QCheckBox::toggled, this, &PlayerActions::randomModeChanged);
    connect(m_controls.Check2, &QCheckBox::toggled, this, &PlayerActions::continuousModeChanged);
    connect(&m_player, &MediaPlayer::DurationChanged, this, &PlayerActions::trackLengthChanged);
    connect(&m_player, &MediaPlayer::startDecided, this, &PlayerActions::startDecided);
    // A new directory or a refresh lists the tracks anew.
    connect(m_controls.File1->model(), &QAbstractItemModel::modelReset, this, &PlayerActions::listChanged);
}

void PlayerActions::selectionChanged()
{
    ListBox &nowPlaying = m_controls.List1;
    nowPlaying.clear();
    nowPlaying.addItem(m_controls.File1->fileName());
    nowPlaying.setListIndex(0);
    emit listChanged();
}

void PlayerActions::select(int index)
{
    m_controls.File1->setListIndex(index);
    selectionChanged();
}

void PlayerActions::emptyNowPlaying()
{
    m_controls.List1.clear();
    if (m_controls.emptyPickerList)
        m_controls.emptyPickerList();
    emit listChanged();
}

bool PlayerActions::playing() const
{
    return m_player.PlayState() == MediaPlayer::Playing;
}

void PlayerActions::notePlayState()
{
    const MediaPlayer::State state = m_player.PlayState();
    if (state == m_playState)
        return;
    m_playState = state;
    emit playStateChanged(state);
}

void PlayerActions::announceStart(bool started, const QString &fileName, const Announce &voice) const
{
    // A file the player cannot play is said so, rather than claimed to be playing.
    (voice ? voice : m_announce)((started ? "<b>playing</b>: " : "<b>error</b>, can't play: ") + TrackName(fileName));
}

bool PlayerActions::startTrack(const QString &entry, Load how, double waitBeforeAnnouncing, const Announce &voice)
{
    // A copy: the name may be an entry of a list that changes while an
    // earlier start is finished.
    const QString fileName = entry;
    finishPendingStart();
    const QString before = m_player.FileName();
    m_trackName = fileName;
    const QByteArray path = m_controls.File1->filePath(fileName);
    m_pendingStart = [this, before, fileName, waitBeforeAnnouncing, voice](bool started) {
        if (m_player.FileName() != before)
            emit trackChanged(fileName);
        // The song search fills the now-playing list itself before it comes here.
        emit listChanged();
        notePlayState();
        WaitSeconds(waitBeforeAnnouncing);
        announceStart(started, fileName, voice);
    };
    const bool started = how == Load::Open ? m_player.Open(path) : m_player.setFileName(path);
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
        m_player.Stop();
    startTrack(fileName, Load::FileName, 0, voice);
}

void PlayerActions::playSelected()
{
    playNamed(m_controls.List1.text());
}

void PlayerActions::pause()
{
    endPlaying(&MediaPlayer::Pause, "<b>paused</b>: ");
}

void PlayerActions::stop()
{
    endPlaying(&MediaPlayer::Stop, "<b>stopped</b>: ");
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
    m_announce(said + TrackName(m_controls.List1.text()));
}

void PlayerActions::next()
{
    // Neither wraps round: on the last entry, as on an empty list, there is
    // no next track, and nothing is done or said.
    const int next = m_controls.File1->listIndex() + 1;
    if (next >= m_controls.File1->listCount())
        return;
    select(next);
    playSelected();
}

bool PlayerActions::hasTrackToPlay() const
{
    return !m_controls.List1.text().isEmpty();
}

bool PlayerActions::hasNext() const
{
    return m_controls.File1->listIndex() + 1 < m_controls.File1->listCount();
}

bool PlayerActions::hasPrevious() const
{
    return m_controls.File1->listIndex() > 0;
}

bool PlayerActions::previous()
{
    const int current = m_controls.File1->listIndex();
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
    m_controls.File1->refresh();
    m_announce("directory refreshed ");
}

int PlayerActions::trackCount() const
{
    return m_controls.File1->listCount();
}

void PlayerActions::endOfTrack()
{
    notePlayState();
    // The two modes exclude each other; whichever is on when the track
    // ends decides, and only one track is started.
    if (m_controls.Check2->isChecked())
        playNextInList();
    else if (m_controls.Check1->isChecked())
        playRandomTrack(0, SettleSeconds);
}

void PlayerActions::playbackFailed()
{
    notePlayState();
    // Whichever road started it, the player's file is the track that broke
    // off; it is told like a track that could not start.
    announceStart(false, m_trackName, {});
}

void PlayerActions::playNextInList()
{
    // After the last track playback simply stops; the now-playing name
    // stays, so play starts that track again.
    const int next = m_controls.File1->listIndex() + 1;
    if (next >= m_controls.File1->listCount())
        return;
    emptyNowPlaying();
    select(next);
    WaitSeconds(SettleSeconds);
    // Anything may have happened during the wait, the list re-read among
    // it: the track is whatever is selected now.
    const QString fileName = m_controls.File1->fileName();
    if (fileName.isEmpty())
        return;
    startTrack(fileName, Load::Open, SettleSeconds);
}

void PlayerActions::playRandomTrack(double waitBeforeDrawing, double waitBeforeAnnouncing)
{
    emptyNowPlaying();
    WaitSeconds(waitBeforeDrawing);
    // Counted after the wait: the list may have been read anew during it.
    const int count = m_controls.File1->listCount();
    if (count == 0)
        return;
    const int index = randomIndex(count);
    select(index);
    startTrack(m_controls.File1->list(index), Load::Open, waitBeforeAnnouncing);
}

bool PlayerActions::playRandomListEntry(StringListView &list, const Announce &voice)
{
    if (list.count() == 0)
        return false;
    const int index = randomIndex(list.count());
    list.setCurrentRow(index);
    startTrack(list.entries().at(index), Load::Open, 0, voice);
    return true;
}

bool PlayerActions::switchOn(QCheckBox *box, QCheckBox *other, const ModeWords &words)
{
    // The other mode is asked first: nothing turns both on.
    if (other->isChecked()) {
        m_announce(words.otherIsOn);
        return false;
    }
    if (box->isChecked()) {
        m_announce(words.alreadyOn);
    } else {
        m_announce(words.turnedOn);
        box->setChecked(true);
    }
    return true;
}

void PlayerActions::switchOff(QCheckBox *box, const ModeWords &words)
{
    if (!box->isChecked()) {
        m_announce(words.alreadyOff);
    } else {
        box->setChecked(false);
        m_announce(words.turnedOff);
    }
}

bool PlayerActions::randomModeOn()
{
    return switchOn(m_controls.Check1, m_controls.Check2, RandomWords);
}

bool PlayerActions::randomMode() const
{
    return m_controls.Check1->isChecked();
}

void PlayerActions::setRandomMode(bool on)
{
    m_controls.Check1->setChecked(on);
}

void PlayerActions::randomModeOff()
{
    switchOff(m_controls.Check1, RandomWords);
}

bool PlayerActions::continuousModeOn()
{
    return switchOn(m_controls.Check2, m_controls.Check1, ContinuousWords);
}

void PlayerActions::continuousModeOff()
{
    switchOff(m_controls.Check2, ContinuousWords);
}

void PlayerActions::applyVolume(long hundredthsDb)
{
    const long before = m_player.Volume();
    m_player.setVolume(hundredthsDb);
    if (m_player.Volume() != before)
        emit volumeChanged(m_player.Volume());
}

void PlayerActions::volumeBarMoved(int percent)
{
    applyVolume(volumeFor(percent));
    m_controls.volume1->setText(QString::number(percent) + "%");
}

int PlayerActions::volumeBar() const
{
    return m_controls.HScroll1->value();
}

void PlayerActions::moveVolumeBar(int percent)
{
    m_controls.HScroll1->setValue(percent);
}

void PlayerActions::setVolume(double percent, const QString &asTyped)
{
    m_controls.HScroll1->setValue(int(std::nearbyint(percent)));
    // The bar's whole step is replaced by the exact value of the number.
    applyVolume(volumeFor(percent));
    m_controls.volume1->setText(asTyped + "%");
    m_announce("<b>volume</b> set" + asTyped + "%");
}

void PlayerActions::showBalance(int value)
{
    // At exactly -500 and 500 none of the tests holds: the label keeps its text.
    QLabel *label = m_controls.Label9;
    if (value > -500 && value < 500)
        label->setText("Center");
    if (value < -500)
        label->setText("Left");
    if (value > 500)
        label->setText("Right");
}

void PlayerActions::balanceBarMoved(int value)
{
    showBalance(value);
    const long before = m_player.Balance();
    m_player.setBalance(value);
    if (m_player.Balance() != before)
        emit balanceChanged(m_player.Balance());
}

void PlayerActions::setBalance(int value)
{
    m_controls.HScroll3->setValue(value);
    // Also where the bar was there already: the label may still read the
    // lower-case "center" it starts with.
    showBalance(value);
    m_announce("<b>balance</b>: " + m_controls.Label9->text().toLower());
}

void PlayerActions::toggleMute()
{
    const bool mute = !m_player.Mute();
    m_player.setMute(mute);
    m_controls.mute->setText(mute ? "UnMute" : "Mute");
    m_announce(mute ? "<b>mp3</b> player mute" : "<b>mp3</b> player unmute");
    emit muteChanged(mute);
}
