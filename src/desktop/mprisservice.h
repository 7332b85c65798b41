// The program as a media player of the desktop, on the session bus as MPRIS
// describes one: the media keys, the desktop's sound menu and playerctl
// reach it there.
#pragma once

#include <QObject>
#include <memory>

class PlayerActions;
class ProgramActions;
class QString;

// Nothing, and not a word of it, without a session bus; when another
// program holds the name, the object is withdrawn once the bus says so.
std::unique_ptr<QObject> PublishMediaPlayer(PlayerActions &actions, ProgramActions &program);

// A file for the player already running: the one that holds the name on
// the session bus is asked to open it (its OpenUri). None is running where
// there is no bus, no one holds the name, or the holder left meanwhile.
enum class Handover { NoPlayerRunning, Opened, Refused };
Handover HandToRunningPlayer(const QString &fileUri, QString &whyRefused);
