#include "platform/windowdrag.h"

#include "platform/clicklabel.h"

#include <QWidget>
#include <QWindow>

void dragWindowBy(ClickLabel *strip, QWidget *window)
{
    QObject::connect(strip, &ClickLabel::pressed, window, [window](Qt::MouseButton) {
        // Where the platform cannot move windows (offscreen) nothing happens.
        if (QWindow *handle = window->windowHandle())
            handle->startSystemMove();
    });
}
