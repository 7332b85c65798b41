#include "app/symbollabel.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

// The shapes in a box one unit high, as wide as the shape needs.
QPainterPath shape(SymbolLabel::Symbol symbol, qreal &width)
{
    using Symbol = SymbolLabel::Symbol;
    QPainterPath path;
    auto triangle = [&path](QPointF a, QPointF b, QPointF c) {
        path.moveTo(a);
        path.lineTo(b);
        path.lineTo(c);
        path.closeSubpath();
    };
    switch (symbol) {
    case Symbol::Previous:
        width = 1.4;
        path.addRect(0.0, 0.0, 0.18, 1.0);
        triangle({0.18, 0.5}, {0.79, 0.0}, {0.79, 1.0});
        triangle({0.79, 0.5}, {1.4, 0.0}, {1.4, 1.0});
        break;
    case Symbol::Next:
        width = 1.4;
        triangle({0.0, 0.0}, {0.61, 0.5}, {0.0, 1.0});
        triangle({0.61, 0.0}, {1.22, 0.5}, {0.61, 1.0});
        path.addRect(1.22, 0.0, 0.18, 1.0);
        break;
    case Symbol::Play:
        width = 0.9;
        triangle({0.0, 0.0}, {0.9, 0.5}, {0.0, 1.0});
        break;
    case Symbol::Stop:
        width = 1.0;
        path.addRect(0.05, 0.05, 0.9, 0.9);
        break;
    case Symbol::Pause:
        width = 0.9;
        path.addRect(0.0, 0.0, 0.32, 1.0);
        path.addRect(0.58, 0.0, 0.32, 1.0);
        break;
    case Symbol::UpArrow:
        width = 1.0;
        triangle({0.5, 0.0}, {1.0, 0.55}, {0.0, 0.55});
        path.addRect(0.3, 0.54, 0.4, 0.46);
        break;
    case Symbol::DownArrow:
        width = 1.0;
        triangle({0.0, 0.45}, {1.0, 0.45}, {0.5, 1.0});
        path.addRect(0.3, 0.0, 0.4, 0.46);
        break;
    }
    path.setFillRule(Qt::WindingFill);
    return path;
}

} // namespace

SymbolLabel::SymbolLabel(Symbol symbol, QWidget *parent)
    : ClickLabel(QString(), parent)
    , m_symbol(symbol)
{
}

void SymbolLabel::paintEvent(QPaintEvent *)
{
    qreal width = 1.0;
    const QPainterPath path = shape(m_symbol, width);
    const QRectF room = contentsRect();
    // As big as a capital letter of the label's font would be, and never
    // bigger than the label.
    const qreal height = std::min({room.height() * 0.75, room.width() / width, qreal(fontMetrics().capHeight()) * 1.2});
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(foregroundRole()));
    painter.translate(room.center() - QPointF(width * height / 2, height / 2));
    painter.scale(height, height);
    painter.drawPath(path);
}
