#include "app/tray.h"

#include "platform/textcut.h"

#include <QApplication>
#include <QIcon>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>
#include <algorithm>

namespace {

NotifyIconRecord record;
bool added = false;
// Owned by the application, so it goes with it even when never removed.
QPointer<QSystemTrayIcon> trayIcon;

void fillTip(const QString &text)
{
    record.tip.fill(0);
    const qsizetype length = wholeCharactersWithin(text, NotifyIconRecord::TipLength - 1);
    for (qsizetype i = 0; i < length; ++i)
        record.tip[std::size_t(i)] = text.at(i).unicode();
}

} // namespace

QString NotifyIconRecord::tipText() const
{
    std::size_t length = 0;
    while (length < tip.size() && tip[length] != 0)
        ++length;
    return QString::fromUtf16(tip.data(), qsizetype(length));
}

bool TrayAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void AddToTray(const QIcon &icon, const QString &tip, QWidget *window)
{
    record = NotifyIconRecord{};
    record.window = window ? window->winId() : 0;
    record.icon = icon.cacheKey();
    fillTip(tip);
    added = true;

    if (TrayAvailable()) {
        if (!trayIcon)
            trayIcon = new QSystemTrayIcon(qApp);
        // Its clicks are not connected: clicking the icon does nothing.
        trayIcon->setIcon(icon);
        trayIcon->setToolTip(record.tipText());
        trayIcon->show();
    }
    if (window)
        window->hide();
}

void RemoveFromTray()
{
    added = false;
    if (trayIcon)
        trayIcon->hide();
}

const NotifyIconRecord &trayRecord()
{
    return record;
}

bool trayIconAdded()
{
    return added;
}
