#include "player/playback.h"

#include "chat/announcement.h"
#include "platform/filelistbox.h"
#include "platform/listbox.h"
#include "player/mediaplayer.h"
#include "player/randomnumber.h"
#include "player/trackstart.h"
#include "player/waitseconds.h"

#include <QCheckBox>

namespace {

// Between choosing the next track, loading it and saying so.
constexpr double SettleSeconds = 0.3;

} // namespace

Playback::Playback(TrackControls controls, QObject *parent)
    : QObject(parent)
    , m_controls(std::move(controls))
{
}

void Playback::selectionChanged()
{
    ListBox &nowPlaying = m_controls.List1;
    nowPlaying.clear();
    nowPlaying.addItem(m_controls.File1->fileName());
    nowPlaying.setListIndex(0);
}

void Playback::select(int index)
{
    m_controls.File1->setListIndex(index);
    selectionChanged();
}

void Playback::emptyNowPlaying()
{
    m_controls.List1.clear();
    if (m_controls.emptyPickerList)
        m_controls.emptyPickerList();
}

void Playback::announceStart(bool started, const QString &fileName) const
{
    ::announceStart(m_controls.announcer, fileName, started);
}

void Playback::playSelected()
{
    const QString fileName = m_controls.List1.text();
    // No track to name: loading the bare directory would only say so badly.
    if (fileName.isEmpty())
        return;
    MediaPlayer &player = m_controls.player;
    if (player.PlayState() == MediaPlayer::Playing)
        player.Stop();
    announceStart(player.setFileName(m_controls.File1->filePath(fileName)), fileName);
}

void Playback::pauseTrack()
{
    MediaPlayer &player = m_controls.player;
    if (player.PlayState() != MediaPlayer::Playing) {
        m_controls.announcer.announce("<b>error</b>, no mp3 playing");
        return;
    }
    player.Pause();
    m_controls.announcer.announce("<b>paused</b>: " + TrackName(m_controls.List1.text()));
}

void Playback::stopTrack()
{
    MediaPlayer &player = m_controls.player;
    if (player.PlayState() != MediaPlayer::Playing) {
        m_controls.announcer.announce("<b>error</b>, no mp3 playing");
        return;
    }
    player.Stop();
    m_controls.announcer.announce("<b>stopped</b>: " + TrackName(m_controls.List1.text()));
}

void Playback::nextTrack()
{
    // Neither wraps round: on the last entry, as on an empty list, there is
    // no next track, and nothing is done or said.
    const int next = m_controls.File1->listIndex() + 1;
    if (next >= m_controls.File1->listCount())
        return;
    select(next);
    playSelected();
}

bool Playback::previousTrack()
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

void Playback::refreshList()
{
    m_controls.File1->refresh();
    m_controls.announcer.announce("directory refreshed ");
}

void Playback::endOfTrack()
{
    // The two modes exclude each other; whichever is on when the track
    // ends decides, and only one track is started.
    if (m_controls.Check2->isChecked())
        playNextInList();
    else if (m_controls.Check1->isChecked())
        playRandomEntry();
}

void Playback::playNextInList()
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
    const bool started = m_controls.player.Open(m_controls.File1->filePath(fileName));
    WaitSeconds(SettleSeconds);
    announceStart(started, fileName);
}

void Playback::playRandomEntry()
{
    emptyNowPlaying();
    const int count = m_controls.File1->listCount();
    if (count == 0)
        return;
    const int index = int(RandomNumber(count - 1, true));
    select(index);
    const QString fileName = m_controls.File1->list(index);
    const bool started = m_controls.player.Open(m_controls.File1->filePath(fileName));
    WaitSeconds(SettleSeconds);
    announceStart(started, fileName);
}
