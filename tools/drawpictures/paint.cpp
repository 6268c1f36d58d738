#include "paint.h"

#include <QImage>
#include <QPolygonF>

#include <algorithm>
#include <cstdlib>

QPainterPath roundedBox(const QRectF& box, qreal radius)
{
    QPainterPath path;
    if (radius > 0)
        path.addRoundedRect(box, radius, radius);
    else
        path.addRect(box);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> corners)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(corners)));
    path.closeSubpath();
    return path;
}

QLinearGradient verticalRamp(const QRectF& box, const QColor& top, const QColor& bottom)
{
    QLinearGradient ramp(box.topLeft(), box.bottomLeft());
    ramp.setColorAt(0, top);
    ramp.setColorAt(1, bottom);
    return ramp;
}

QLinearGradient bodyRamp(const QRectF& box)
{
    return verticalRamp(box, palette::white, palette::light);
}

void fillBordered(QPainter& p, const QPainterPath& shape, const QBrush& fill,
                  const QColor& border, qreal width)
{
    // The border is a stroke twice as wide, kept to the part that falls on the filled shape.
    QImage layer(p.device()->width(), p.device()->height(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        lp.setTransform(p.transform());
        lp.fillPath(shape, fill);
        lp.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        lp.strokePath(shape, QPen(border, 2 * width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    }
    p.save();
    p.resetTransform();
    p.drawImage(0, 0, layer);
    p.restore();
}

void fillBordered(QPainter& p, const QRectF& box, qreal radius, const QBrush& fill,
                  const QColor& border, qreal width)
{
    fillBordered(p, roundedBox(box, radius), fill, border, width);
}

void hLine(QPainter& p, int x1, int x2, int y, const QColor& colour, int thickness)
{
    p.fillRect(QRectF(std::min(x1, x2), y, std::abs(x2 - x1) + 1, thickness), colour);
}

void vLine(QPainter& p, int x, int y1, int y2, const QColor& colour, int thickness)
{
    p.fillRect(QRectF(x, std::min(y1, y2), thickness, std::abs(y2 - y1) + 1), colour);
}
