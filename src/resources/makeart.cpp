// Draws the program's pictures into PNG files: the icon of 256 colours, 32
// by 32 for the program's windows (packaging/dun2.svg is the same drawing,
// for the desktop's menus), and the 115 by 48 picture of the about window.
// Not part of the program; run it after changing a drawing:
//   cmake --build build --target makeart && build/src/makeart src/resources
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

const QColor Ink(255, 255, 255);
const QColor Red(255, 0, 0); // the announcement style's colour

// Two beamed quavers, in a box 20 wide and 20 high from origin.
void drawNotes(QPainter &painter, QPointF origin, qreal scale)
{
    painter.save();
    painter.translate(origin);
    painter.scale(scale, scale);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink);
    for (QPointF head : {QPointF(3.5, 16.5), QPointF(15.5, 14.0)}) {
        painter.save();
        painter.translate(head);
        painter.rotate(-22);
        painter.drawEllipse(QPointF(0, 0), 3.6, 2.5);
        painter.restore();
    }
    painter.drawRect(QRectF(6.2, 2.8, 1.5, 13.4));
    painter.drawRect(QRectF(18.2, 0.3, 1.5, 13.4));
    QPainterPath beam;
    beam.moveTo(6.2, 2.8);
    beam.lineTo(19.7, 0.3);
    beam.lineTo(19.7, 3.8);
    beam.lineTo(6.2, 6.3);
    beam.closeSubpath();
    painter.drawPath(beam);
    painter.restore();
}

// One flat colour: with the white and red edges smoothed into it the
// pictures keep well under 256 colours, so they need no dithering.
const QColor Backdrop(52, 22, 96);

// Drawn on a grid of 32 and scaled, so that every size is the same picture.
QImage icon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    // A chat bubble with its tail at the lower left, music inside.
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(1, 1, 30, 25), 7, 7);
    QPainterPath tail;
    tail.moveTo(5, 22);
    tail.lineTo(3, 31);
    tail.lineTo(13, 24);
    tail.closeSubpath();
    bubble = bubble.united(tail);
    painter.setPen(QPen(Red, 1.2));
    painter.setBrush(Backdrop);
    painter.drawPath(bubble);
    drawNotes(painter, {5.5, 3.5}, 1.05);
    painter.end();
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
}

QImage aboutPicture()
{
    QImage image(115, 48, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(image.rect(), Backdrop);
    painter.setPen(QPen(Red, 2));
    painter.drawLine(QPointF(6, 41), QPointF(109, 41));
    QFont title("DejaVu Sans");
    title.setPixelSize(24);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Ink);
    painter.drawText(QRectF(6, 3, 80, 34), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8("Ðûñ²"));
    drawNotes(painter, {84, 8}, 1.15);
    painter.end();
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("."));
    bool ok = icon(32).save(out.filePath("dun2.png"))
              && aboutPicture().save(out.filePath("about.png"));
    if (!ok)
        std::fprintf(stderr, "makeart: cannot write into %s\n", qPrintable(out.absolutePath()));
    return ok ? 0 : 1;
}
