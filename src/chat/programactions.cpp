#include "chat/programactions.h"

#include "chat/announcement.h"
#include "chat/programwindows.h"
#include "platform/programend.h"

ProgramActions::ProgramActions(const Announcer &announcer, ProgramWindows &windows)
    : m_announcer(announcer)
    , m_windows(windows)
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
