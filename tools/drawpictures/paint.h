#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <initializer_list>

// One palette for every picture: the teal of the category bar and caption bar, neutrals for
// bodies and paper, and a single warm accent.
namespace palette {
constexpr QColor ink{14, 46, 46};           // outlines and dark details
constexpr QColor tealDeep{10, 65, 65};      // left edge of the category bar's ramp
constexpr QColor teal{30, 100, 100};        // caption bar
constexpr QColor tealMid{22, 142, 142};
constexpr QColor tealBright{30, 193, 193};  // middle of the category bar's ramp
constexpr QColor tealPale{190, 236, 236};
constexpr QColor white{255, 255, 255};
constexpr QColor paper{248, 251, 251};
constexpr QColor light{222, 231, 231};
constexpr QColor grey{160, 176, 176};
constexpr QColor slate{70, 88, 88};
constexpr QColor amber{246, 168, 40};
constexpr QColor amberDark{196, 120, 16};
}  // namespace palette

QPainterPath roundedBox(const QRectF& box, qreal radius);

// The closed outline through the given corners.
QPainterPath polygon(std::initializer_list<QPointF> corners);

// A top-to-bottom gradient over the box.
QLinearGradient verticalRamp(const QRectF& box, const QColor& top, const QColor& bottom);

// The light body gradient that every object of the pictures shares.
QLinearGradient bodyRamp(const QRectF& box);

// Fills the shape and draws its border inside it: a shape laid on whole pixels keeps crisp
// edges, and neighbouring shapes do not bleed into each other's borders.
void fillBordered(QPainter& p, const QPainterPath& shape, const QBrush& fill,
                  const QColor& border = palette::ink, qreal width = 1);
void fillBordered(QPainter& p, const QRectF& box, qreal radius, const QBrush& fill,
                  const QColor& border = palette::ink, qreal width = 1);

// Lines along the pixel grid, both ends included; a thicker line grows down or right.
void hLine(QPainter& p, int x1, int x2, int y, const QColor& colour, int thickness = 1);
void vLine(QPainter& p, int x, int y1, int y2, const QColor& colour, int thickness = 1);

// Places a drawing's parts at fractions of its box, rounded to whole pixels, so that the same
// drawing stays crisp at every size.
class Grid {
public:
    explicit Grid(const QRect& box) : box_(box) {}
    int x(qreal fraction) const { return box_.x() + qRound(fraction * box_.width()); }
    int y(qreal fraction) const { return box_.y() + qRound(fraction * box_.height()); }
    QRectF rect(qreal left, qreal top, qreal right, qreal bottom) const
    {
        return QRectF(QPointF(x(left), y(top)), QPointF(x(right), y(bottom)));
    }
    // A corner radius or a length as a fraction of the box's height.
    qreal scaled(qreal fraction) const { return fraction * box_.height(); }
    // Border and line width: one pixel at icon sizes, more in large illustrations.
    int line() const { return std::max(1, qRound(box_.height() / 56.0)); }
    // Whether the box is small enough that fine details would only blur.
    bool compact() const { return box_.height() < 20; }

private:
    QRect box_;
};
