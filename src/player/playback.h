// The track list and playback: selecting, playing, pausing, stopping, next
// and previous, re-reading the directory, and what happens when a track
// ends in random or continuous mode. Every action announces its result.
#pragma once

#include <QObject>
#include <functional>

class Announcer;
class FileListBox;
class ListBox;
class MediaPlayer;
class QCheckBox;

struct TrackControls {
    FileListBox *File1;   // track list
    ListBox &List1;       // now playing
    QCheckBox *Check1;    // random
    QCheckBox *Check2;    // continuous
    MediaPlayer &player;
    const Announcer &announcer;
    std::function<void()> emptyPickerList; // the song picker's list
};

class Playback : public QObject
{
    Q_OBJECT

public:
    Playback(TrackControls controls, QObject *parent = nullptr);

    // A change of the track list's selection: refills the now-playing list.
    void selectionChanged();
    // The play button and a double-click on the list. Each of these that
    // starts a track says whether it plays ("<b>playing</b>: " or
    // "<b>error</b>, can't play: "); with no track to name it does and
    // says nothing.
    void playSelected();
    void pauseTrack();
    void stopTrack();
    // On the last entry, as on an empty list, nothing is done or said.
    void nextTrack();
    // False when the first entry is selected: nothing is done or said, and
    // a command's handling ends. With nothing selected nothing is done or
    // said either, but the handling goes on (true).
    bool previousTrack();
    void refreshList();
    // The player reported the natural end of the current track.
    void endOfTrack();

private:
    // Selects an entry and refills the now-playing list, also when that
    // entry was selected already (the list may have been emptied).
    void select(int index);
    void emptyNowPlaying();
    void announceStart(bool started, const QString &fileName) const;
    void playNextInList();
    void playRandomEntry();

    TrackControls m_controls;
};
