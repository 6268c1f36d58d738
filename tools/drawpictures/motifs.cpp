#include "motifs.h"

#include "paint.h"

using namespace palette;

namespace {

// The device at 20 pixels and more.
void drawDeviceDetailed(QPainter& p, const Grid& g)
{
    const int line = g.line();

    // Originals waiting in the feeder, behind it.
    fillBordered(p, g.rect(0.22, 0, 0.72, 0.24), 0, paper, ink, line);
    for (qreal y : {0.08, 0.15})
        hLine(p, g.x(0.29), g.x(0.62), g.y(y), grey, line);

    const QRectF feeder = g.rect(0.08, 0.14, 0.92, 0.36);
    fillBordered(p, feeder, g.scaled(0.05), verticalRamp(feeder, tealMid, teal), ink, line);
    hLine(p, g.x(0.16), g.x(0.84) - 1, qRound(feeder.bottom()) - 2 - line,
          QColor(255, 255, 255, 90), line);

    const QRectF body = g.rect(0, 0.33, 1, 0.96);
    fillBordered(p, body, g.scaled(0.09), bodyRamp(body), ink, line);

    // Control panel: display and status light.
    const QRectF display = g.rect(0.60, 0.42, 0.90, 0.54);
    fillBordered(p, display, 0, verticalRamp(display, tealBright, tealMid), ink, line);
    p.fillRect(g.rect(0.49, 0.44, 0.55, 0.51), amber);

    // Output bay with a printed sheet.
    const QRectF bay = g.rect(0.08, 0.42, 0.44, 0.60);
    fillBordered(p, bay, 0, verticalRamp(bay, slate, ink), ink, line);
    p.fillRect(g.rect(0.14, 0.50, 0.38, 0.60).adjusted(0, 0, 0, -line), paper);

    // Paper drawer and its handle.
    const QRectF drawer = g.rect(0.06, 0.68, 0.94, 0.89);
    fillBordered(p, drawer, g.scaled(0.035), verticalRamp(drawer, light, white), grey, line);
    const int handle = qRound(drawer.center().y()) - line;
    hLine(p, g.x(0.38), g.x(0.62) - 1, handle, slate, 2 * line);

    if (line > 1) {
        // Details that only a large drawing can show: keys, print on the output sheet, feet.
        for (int key = 0; key < 4; ++key) {
            const qreal left = 0.60 + key * 0.08;
            fillBordered(p, g.rect(left, 0.57, left + 0.05, 0.61), g.scaled(0.01),
                         key == 3 ? QColor(amber) : QColor(light), grey, line / 2);
        }
        for (qreal y : {0.53, 0.56})
            hLine(p, g.x(0.17), g.x(0.33), g.y(y), grey, line);
        for (qreal x : {0.08, 0.84})
            fillBordered(p, g.rect(x, 0.955, x + 0.08, 1), 0, slate, ink, line);
    }
}

// The device at about 16 x 14 pixels: every part a few whole pixels, anchored on the box's
// edges.
void drawDeviceCompact(QPainter& p, const QRect& b)
{
    const int l = b.left(), t = b.top(), r = b.right(), bottom = b.bottom();
    const int mid = (l + r) / 2;
    fillBordered(p, QRectF(mid - 3, t, 8, 4), 0, paper);
    const QRectF feeder(l + 1, t + 3, r - l - 1, 3);
    fillBordered(p, feeder, 0, tealMid);
    const QRectF body(l, t + 5, r - l + 1, bottom - t - 4);
    fillBordered(p, body, 1, bodyRamp(body));
    p.fillRect(QRectF(r - 6, t + 7, 5, 2), tealMid);
    p.fillRect(QRectF(l + 2, t + 7, 5, 2), slate);
    hLine(p, l + 2, r - 2, bottom - 3, grey);
    hLine(p, mid - 1, mid + 2, bottom - 2, slate);
}

}  // namespace

void drawDevice(QPainter& p, const QRect& box)
{
    const Grid g(box);
    if (g.compact())
        drawDeviceCompact(p, box);
    else
        drawDeviceDetailed(p, g);
}

QRectF drawMonitor(QPainter& p, const QRect& box)
{
    const Grid g(box);
    const bool compact = g.compact();
    const int line = g.line();
    const int inset = compact ? 1 : 2 * line;

    const QRectF bezel = g.rect(0, 0, 1, 0.78);
    fillBordered(p, bezel, compact ? 1 : g.scaled(0.07), verticalRamp(bezel, slate, ink), ink,
                 line);

    const QRectF screen = bezel.adjusted(inset, inset, -inset, -inset);
    QLinearGradient glass(screen.topLeft(), screen.bottomRight());
    glass.setColorAt(0, tealBright);
    glass.setColorAt(1, tealDeep);
    p.fillRect(screen, glass);
    if (!compact) {
        // A soft reflection across the upper left of the glass.
        QPainterPath sheen;
        sheen.moveTo(screen.topLeft());
        sheen.lineTo(screen.left() + screen.width() * 0.55, screen.top());
        sheen.lineTo(screen.left(), screen.top() + screen.height() * 0.75);
        sheen.closeSubpath();
        p.fillPath(sheen, QColor(255, 255, 255, 40));
    }

    const QRectF neck = g.rect(0.42, 0.78, 0.58, 0.90);
    p.fillRect(neck, verticalRamp(neck, ink, slate));
    const QRectF foot = g.rect(0.24, 0.88, 0.76, 1);
    fillBordered(p, foot, compact ? 0 : g.scaled(0.03), verticalRamp(foot, grey, slate), ink,
                 line);
    return screen;
}

void drawSheet(QPainter& p, const QRect& box, int lines)
{
    const int fold = std::max(3, box.width() / 4);
    const qreal left = box.left(), top = box.top();
    const qreal right = box.right() + 1, bottom = box.bottom() + 1;
    fillBordered(p, polygon({{left, top}, {right - fold, top}, {right, top + fold},
                             {right, bottom}, {left, bottom}}),
                 paper);
    fillBordered(p, polygon({{right - fold, top}, {right - fold, top + fold}, {right, top + fold}}),
                 light);

    const int margin = box.width() > 12 ? 3 : 2;
    const int textLeft = box.left() + margin;
    const int textRight = box.right() - margin;
    const int textTop = box.top() + fold + 1;
    const int step = lines > 1 ? std::max(2, (box.bottom() - 2 - textTop) / (lines - 1)) : 0;
    for (int i = 0; i < lines; ++i) {
        const int y = textTop + i * step;
        if (y > box.bottom() - 2)
            break;
        const int end = i == lines - 1 ? textLeft + (textRight - textLeft) * 2 / 3 : textRight;
        hLine(p, textLeft, end, y, grey);
    }
}
