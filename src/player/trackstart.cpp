#include "player/trackstart.h"

#include "chat/announcement.h"

void announceStart(const Announcer &announcer, const QString &fileName, bool started)
{
    announcer.announce((started ? "<b>playing</b>: " : "<b>error</b>, can't play: ") + TrackName(fileName));
}
