#include "app/interfacestate.h"

#include "app/mainwindow.h"
#include "app/tray.h"
#include "platform/twips.h"

namespace {

void setHeightTwips(MainWindow &form, int twips)
{
    form.resize(form.width(), twipsToPixelsY(twips, &form));
}

// A hidden window stays hidden: only its state changes, and it shows in
// that state when it is shown again.
void setMinimized(MainWindow &form, bool minimized)
{
    Qt::WindowStates state = form.windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen);
    form.setWindowState(minimized ? state | Qt::WindowMinimized : state & ~Qt::WindowMinimized);
}

} // namespace

void rollUp(MainWindow &form)
{
    setHeightTwips(form, RolledUpTwips);
    form.program().announcer.announce("<b>iface</b> rolled up");
    form.showRollGlyph(true);
}

void rollDown(MainWindow &form)
{
    setHeightTwips(form, RolledDownTwips);
    form.program().announcer.announce("<b>iface</b> rolled down");
    form.showRollGlyph(false);
}

void minimizeInterface(MainWindow &form)
{
    form.program().announcer.announce("<b>iface</b> minimized ");
    setMinimized(form, true);
}

void restoreInterface(MainWindow &form)
{
    form.program().announcer.announce("<b>iface</b> maximized ");
    setMinimized(form, false);
}

namespace {

// Where the desktop has no notification area, an icon there could never
// bring the window back: it is minimised instead, where the task bar and
// "max" can, and the room is told so.
bool minimizedForWantOfTray(MainWindow &form)
{
    if (TrayAvailable())
        return false;
    setMinimized(form, true);
    form.program().announcer.announce("<b>iface</b> minimized, no tray ");
    return true;
}

} // namespace

void hideInterface(MainWindow &form)
{
    if (minimizedForWantOfTray(form))
        return;
    form.hide();
    AddToTray(form.windowIcon(), QString::fromUtf8(TrayTip), &form);
    form.program().announcer.announce("<b>iface </b>hidden");
}

void showInterface(MainWindow &form)
{
    if (!TrayAvailable())
        setMinimized(form, false);
    form.show();
    RemoveFromTray();
    form.program().announcer.announce("<b>iface </b>showing");
}

void sendToTray(MainWindow &form)
{
    if (minimizedForWantOfTray(form))
        return;
    AddToTray(form.windowIcon(), QString::fromUtf8(TrayTip), &form);
    form.program().announcer.announce("<b>iface</b> sent to tray ");
}
