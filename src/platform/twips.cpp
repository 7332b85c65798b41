#include "platform/twips.h"

#include "platform/keeponscreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace {

constexpr int StartPositionTwips = 5000;

QScreen *screenOf(const QWidget *widget)
{
    if (widget && widget->screen())
        return widget->screen();
    return QGuiApplication::primaryScreen();
}

double dpiX(const QWidget *widget)
{
    QScreen *screen = screenOf(widget);
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

double dpiY(const QWidget *widget)
{
    QScreen *screen = screenOf(widget);
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

} // namespace

int twipsToPixelsX(int twips, const QWidget *widget)
{
    return int(std::lround(twips * dpiX(widget) / TwipsPerInch));
}

int twipsToPixelsY(int twips, const QWidget *widget)
{
    return int(std::lround(twips * dpiY(widget) / TwipsPerInch));
}

QRect twipsRect(int left, int top, int width, int height, const QWidget *widget)
{
    return QRect(twipsToPixelsX(left, widget), twipsToPixelsY(top, widget), twipsToPixelsX(width, widget),
                 twipsToPixelsY(height, widget));
}

void placeInTwips(QWidget *control, int left, int top, int width, int height)
{
    control->setGeometry(twipsRect(left, top, width, height, control));
}

void placeAtStartPosition(QWidget *window)
{
    window->move(twipsToPixelsX(StartPositionTwips, window), twipsToPixelsY(StartPositionTwips, window));
    keepOnScreen(*window);
}
