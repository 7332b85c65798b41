#include "platform/keeponscreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

// A window not yet shown has no frame: room is kept for a title bar and
// borders as wide as the common window managers draw.
constexpr int TitleBarAllowance = 32;
constexpr int BorderAllowance = 4;

} // namespace

void keepOnScreen(QWidget &window)
{
    QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // A top-level window's position is its frame's.
    QSize frame = window.frameGeometry().size();
    if (frame == window.size())
        frame += QSize(2 * BorderAllowance, TitleBarAllowance + BorderAllowance);
    const QPoint place = window.pos();
    const int x = std::max(area.left(), std::min(place.x(), area.left() + area.width() - frame.width()));
    const int y = std::max(area.top(), std::min(place.y(), area.top() + area.height() - frame.height()));
    if (QPoint(x, y) != place)
        window.move(x, y);
}
