// TEMPORARY: the real playback comes with the track list work.
#include "player/playback.h"

Playback::Playback(TrackControls controls, QObject *parent) : QObject(parent), m_controls(std::move(controls)) {}
void Playback::selectionChanged() {}
void Playback::playSelected() {}
void Playback::pauseTrack() {}
void Playback::stopTrack() {}
void Playback::nextTrack() {}
bool Playback::previousTrack() { return true; }
void Playback::refreshList() {}
void Playback::endOfTrack() {}
