#include "platform/stayontop.h"

#include <QWidget>

void StayOnTop(QWidget *window)
{
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        return;
    // Changing the flags hides a shown window; it comes back where it was.
    const bool wasVisible = window->isVisible();
    const QPoint place = window->pos();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (wasVisible) {
        window->move(place);
        window->show();
    }
}
