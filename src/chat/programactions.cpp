#include "chat/programactions.h"

#include "chat/announcement.h"
#include "chat/programwindows.h"
#include "platform/filename.h"
#include "platform/programend.h"
#include "player/playeractions.h"
#include "player/regularfile.h"

#include <sys/stat.h>

ProgramActions::ProgramActions(const Announcer &announcer, ProgramWindows &windows, PlayerActions &player)
    : m_announcer(announcer)
    , m_windows(windows)
    , m_player(player)
{
}

void ProgramActions::leave(int exitStatus, const QString &reason)
{
    m_announcer.announce(QString::fromUtf8("Ðûñ² unløªded "));
    EndProgramNow(exitStatus, reason);
}

void ProgramActions::exit()
{
    leave(0, QStringLiteral("exit"));
}

void ProgramActions::show()
{
    m_windows.showFromTray();
}

void ProgramActions::newStyle()
{
    m_windows.showStyleEditor();
    m_announcer.announce("<b>creating</b> style ");
}

void ProgramActions::chooseStyle()
{
    m_windows.showStyleChooser();
    m_announcer.announce("<b>viewing</b> styles ");
}

void ProgramActions::newPath(PathAsker asker)
{
    m_windows.showPathChooser();
    m_announcer.announce(asker == PathAsker::ChatCommand ? QStringLiteral("<b>searching</b> for new directory")
                                                         : QStringLiteral("searching for path "));
}

QString ProgramActions::openFile(const QByteArray &path)
{
    // Asked of the bytes: a name need not be UTF-8.
    struct stat info;
    if (!path.startsWith('/'))
        return QStringLiteral("not an absolute path");
    if (stat(path.constData(), &info) != 0)
        return QStringLiteral("no such file");
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("a folder, not an MP3 file");
    // The track list holds only "*.mp3", and a FIFO or device would never start.
    if (!isRegularFile(path) || !path.toLower().endsWith(".mp3"))
        return QStringLiteral("not an MP3 file");
    const qsizetype slash = path.lastIndexOf('/');
    m_windows.useMusicFolder(decodeFileName(slash > 0 ? path.left(slash) : QByteArray("/")));
    if (!m_player.playFile(path))
        return QStringLiteral("the file does not play");
    return {};
}
