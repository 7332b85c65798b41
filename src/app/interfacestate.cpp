#include "app/interfacestate.h"

#include "app/mainwindow.h"
#include "app/tray.h"
#include "platform/clicklabel.h"
#include "platform/twips.h"

namespace {

void setHeightTwips(Form1 &form, int twips)
{
    form.resize(form.width(), twipsToPixelsY(twips, &form));
}

// A hidden window stays hidden: only its state changes, and it shows in
// that state when it is shown again.
void setMinimized(Form1 &form, bool minimized)
{
    Qt::WindowStates state = form.windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen);
    form.setWindowState(minimized ? state | Qt::WindowMinimized : state & ~Qt::WindowMinimized);
}

} // namespace

void rollUp(Form1 &form)
{
    setHeightTwips(form, RolledUpTwips);
    form.announcer.announce("<b>iface</b> rolled up");
    form.Label3->setVisible(true);
    form.Label7->setVisible(false);
}

void rollDown(Form1 &form)
{
    setHeightTwips(form, RolledDownTwips);
    form.announcer.announce("<b>iface</b> rolled down");
    form.Label3->setVisible(false);
    form.Label7->setVisible(true);
}

void minimizeInterface(Form1 &form)
{
    form.announcer.announce("<b>iface</b> minimized ");
    setMinimized(form, true);
}

void restoreInterface(Form1 &form)
{
    form.announcer.announce("<b>iface</b> maximized ");
    setMinimized(form, false);
}

void hideInterface(Form1 &form)
{
    form.hide();
    AddToTray(form.windowIcon(), QString::fromUtf8(TrayTip), &form);
    form.announcer.announce("<b>iface </b>hidden");
}

void showInterface(Form1 &form)
{
    form.show();
    RemoveFromTray();
    form.announcer.announce("<b>iface </b>showing");
}

void sendToTray(Form1 &form)
{
    AddToTray(form.windowIcon(), QString::fromUtf8(TrayTip), &form);
    form.announcer.announce("<b>iface</b> sent to tray ");
}
