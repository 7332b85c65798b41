#include "platform/closeaswayout.h"

#include "platform/clicklabel.h"

#include <QEvent>
#include <QWidget>

namespace {

class CloseFilter : public QObject
{
public:
    CloseFilter(QWidget *window, ClickLabel *wayOut)
        : QObject(window)
        , m_wayOut(wayOut)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Close)
            return false;
        // Refused either way: the way out hides the window itself.
        event->ignore();
        if (m_wayOut)
            emit m_wayOut->clicked();
        return true;
    }

private:
    ClickLabel *m_wayOut;
};

} // namespace

void closeAsWayOut(QWidget *window, ClickLabel *wayOut)
{
    new CloseFilter(window, wayOut);
}
