// The notification-area icon that stands for the main window while it is
// hidden. The record of the icon last added is kept, as the platform's own
// notification-icon record would be, so that removing it needs no
// arguments.
#pragma once

#include <QString>
#include <array>
#include <qwindowdefs.h>

class QIcon;
class QWidget;

struct NotifyIconRecord {
    static constexpr int TipLength = 64; // the field, its terminating 0 included

    quint32 size = 88;
    WId window = 0;                   // the native handle of the window, 0 for none
    quint32 id = 1;                   // icon identifier
    quint32 flags = 7;                // message, icon and tip are valid
    quint32 callbackMessage = 0x0200; // the mouse-move message
    qint64 icon = 0;                  // the icon's handle: its cache key
    std::array<char16_t, TipLength> tip{};

    QString tipText() const;
};

// Puts the icon in the notification area and hides the window. Where the
// desktop has no notification area the window is hidden all the same.
void AddToTray(const QIcon &icon, const QString &tip, QWidget *window);
// Whether the desktop has a notification area an icon can bring the window
// back from.
bool TrayAvailable();
// Takes away the icon added last; the window is not shown here.
void RemoveFromTray();

const NotifyIconRecord &trayRecord();
// An icon was added and has not been removed since.
bool trayIconAdded();
