#include "platform/clearplace.h"

#include "platform/keeponscreen.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <array>

namespace {

constexpr int TitleBarAllowance = 32;
constexpr int Gap = 8;

QRect placedIn(const QRect &side, QSize size, const QRect &taken)
{
    size = size.boundedTo(side.size());
    // As close to the taken area as the side allows, level with its corner.
    const int x = std::clamp(taken.x(), side.left(), side.left() + side.width() - size.width());
    const int y = std::clamp(taken.y(), side.top(), side.top() + side.height() - size.height());
    return QRect(QPoint(x, y), size);
}

} // namespace

void placeClearOf(QWidget &window, const QRect &taken)
{
    QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect screenArea = screen->availableGeometry();
    const QRect blocked = taken.adjusted(-Gap, -Gap - TitleBarAllowance, Gap, Gap);
    const std::array<QRect, 4> sides = {
        QRect(QPoint(blocked.right() + 1, screenArea.top()), screenArea.bottomRight()),
        QRect(QPoint(screenArea.left(), blocked.bottom() + 1), screenArea.bottomRight()),
        QRect(screenArea.topLeft(), QPoint(blocked.left() - 1, screenArea.bottom())),
        QRect(screenArea.topLeft(), QPoint(screenArea.right(), blocked.top() - 1)),
    };
    const QSize wanted = window.size() + QSize(0, TitleBarAllowance);
    const QRect *chosen = nullptr;
    for (const QRect &side : sides) {
        const bool fits = side.width() >= wanted.width() && side.height() >= wanted.height();
        if (fits) {
            chosen = &side;
            break;
        }
        if (side.isValid() && (!chosen || side.width() * side.height() > chosen->width() * chosen->height()))
            chosen = &side;
    }
    if (!chosen)
        return;
    const QRect frame = placedIn(*chosen, wanted, taken);
    window.setGeometry(frame.adjusted(0, TitleBarAllowance, 0, 0));
    // Made smaller than its least size, it grew again past the side's edge.
    keepOnScreen(window);
}
