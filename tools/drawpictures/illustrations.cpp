#include "motifs.h"
#include "paint.h"
#include "pictures.h"

#include <QFont>
#include <QRadialGradient>

using namespace palette;

namespace {

// The wait window's animation copies the dot, background included, over the picture at these
// places; the band it runs in must therefore be one flat colour, the dot's own background.
constexpr QColor waitBackground = white;
constexpr int dotTop = 42;
constexpr int firstDotLeft = 36;
constexpr int dotStep = 7;
constexpr int dotPlaces = 10;
constexpr QSize dotSize{9, 7};

// A soft shadow on the floor under an object.
void drawFloorShadow(QPainter& p, const QRectF& area)
{
    QRadialGradient shade(area.center(), area.width() / 2);
    shade.setColorAt(0, QColor(14, 46, 46, 70));
    shade.setColorAt(1, QColor(14, 46, 46, 0));
    p.save();
    p.translate(area.center());
    p.scale(1, area.height() / area.width());
    p.translate(-area.center());
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawEllipse(area.center(), area.width() / 2, area.width() / 2);
    p.restore();
}

// The PC and the device side by side, the dots' track between them: data runs from left to
// right, from the one that sends to the one that receives.
void drawTransfer(QPainter& p, QSize size, bool deviceSends)
{
    p.fillRect(QRect(QPoint(0, 0), size), waitBackground);
    // Both stand clear of the track, on the same floor.
    const QRect left(1, 12, 34, 40);
    const QRect right(110, 12, 34, 40);
    for (const QRect& place : {left, right})
        drawFloorShadow(p, QRectF(place.left(), place.bottom() - 3, place.width(), 8));
    drawDevice(p, deviceSends ? left : right);
    drawMonitor(p, (deviceSends ? right : left).adjusted(0, 4, 0, 0));

    // The track: a faint dot at every place the moving dot visits.
    QColor track = grey;
    track.setAlpha(130);
    p.setPen(Qt::NoPen);
    p.setBrush(track);
    for (int i = 0; i < dotPlaces; ++i)
        p.drawEllipse(QPointF(firstDotLeft + i * dotStep + dotSize.width() / 2.0,
                              dotTop + dotSize.height() / 2.0),
                      1.5, 1.5);
}

// The console itself, in miniature on a screen: the category bar, the caption bar, a page.
void drawConsoleOnScreen(QPainter& p, const QRectF& screen)
{
    p.fillRect(screen, light);
    const QRectF bar(screen.left(), screen.top(), qRound(screen.width() * 0.22), screen.height());
    QLinearGradient ramp(bar.topLeft(), bar.topRight());
    ramp.setColorAt(0, tealDeep);
    ramp.setColorAt(0.5, tealBright);
    ramp.setColorAt(1, tealDeep);
    p.fillRect(bar, ramp);
    for (int i = 0; i < 4; ++i)
        p.fillRect(QRectF(bar.center().x() - 2.5, bar.top() + 5 + i * 13, 5, 5),
                   i == 0 ? QColor(amber) : QColor(white));

    const QRectF caption(bar.right() + 3, screen.top() + 3, screen.right() - bar.right() - 6, 7);
    p.fillRect(caption, teal);
    p.fillRect(QRectF(caption.left() + 3, caption.top() + 2, 18, 3), white);

    const QRectF page(caption.left(), caption.bottom() + 3, caption.width(),
                      screen.bottom() - caption.bottom() - 6);
    p.fillRect(page, white);
    for (int i = 0; i < 4; ++i) {
        const qreal y = page.top() + 5 + i * 8;
        p.fillRect(QRectF(page.left() + 4, y, 16, 2), grey);
        p.fillRect(QRectF(page.left() + 24, y - 1, page.width() - 30, 4), light);
    }
    QLinearGradient glare(screen.topLeft(), screen.bottomRight());
    glare.setColorAt(0, QColor(255, 255, 255, 50));
    glare.setColorAt(0.5, QColor(255, 255, 255, 0));
    p.fillRect(screen, glare);
}

// The product on a teal stage: the device in front, the PC it is set up from beside it, and
// the dots of the wait window running between them.
void drawStage(QPainter& p, QSize size)
{
    const QRectF all(QPointF(0, 0), size);
    QLinearGradient sky(all.topLeft(), all.bottomRight());
    sky.setColorAt(0, tealMid);
    sky.setColorAt(0.55, teal);
    sky.setColorAt(1, tealDeep);
    p.fillRect(all, sky);

    // Rings spreading from the device, as a signal does.
    const QPointF source(262, 222);
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 6; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 34 - i * 4), 2));
        p.drawEllipse(source, 70.0 + i * 34, 70.0 + i * 34);
    }

    const int floorTop = 292;
    const QRectF floor(0, floorTop, size.width(), size.height() - floorTop);
    p.fillRect(floor, verticalRamp(floor, QColor(255, 255, 255, 30), QColor(255, 255, 255, 0)));
    drawFloorShadow(p, QRectF(160, floorTop - 12, 204, 26));
    drawFloorShadow(p, QRectF(14, floorTop - 8, 116, 18));

    const QRect monitor(20, floorTop - 100, 104, 100);
    drawConsoleOnScreen(p, drawMonitor(p, monitor));
    drawDevice(p, QRect(164, floorTop - 172, 190, 172));

    // The link: the dots of the wait window, one of them on its way.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 7; ++i) {
        p.setBrush(i == 4 ? QColor(tealBright.lighter(130)) : QColor(255, 255, 255, 120));
        const qreal radius = i == 4 ? 3.2 : 2;
        p.drawEllipse(QPointF(132 + i * 5, 244), radius, radius);
    }
}

void drawName(QPainter& p)
{
    QFont title("DejaVu Sans");
    title.setBold(true);
    title.setPixelSize(52);
    title.setLetterSpacing(QFont::AbsoluteSpacing, -1);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 60));
    p.drawText(QPointF(30, 78), "Tamsel");
    p.setPen(white);
    p.drawText(QPointF(28, 76), "Tamsel");

    QFont maker("DejaVu Sans");
    maker.setPixelSize(17);
    maker.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(maker);
    p.setPen(tealPale);
    p.drawText(QPointF(31, 104), "CORVANE");
    p.fillRect(QRectF(31, 114, 46, 3), amber);
}

}  // namespace

void drawAboutPicture(QPainter& p, QSize size)
{
    drawStage(p, size);
    drawName(p);
}

void drawConnectPicture(QPainter& p, QSize size)
{
    drawTransfer(p, size, true);
}

void drawUpdatePicture(QPainter& p, QSize size)
{
    drawTransfer(p, size, false);
}

void drawWaitDot(QPainter& p, QSize size)
{
    p.fillRect(QRect(QPoint(0, 0), size), waitBackground);
    const qreal diameter = size.height() - 1;
    const QRectF dot((size.width() - diameter) / 2, 0.5, diameter, diameter);
    QRadialGradient glow(dot.center() - QPointF(1, 1), diameter / 2);
    glow.setColorAt(0, tealBright.lighter(125));
    glow.setColorAt(1, tealMid);
    p.setPen(QPen(teal, 0.8));
    p.setBrush(glow);
    p.drawEllipse(dot);
}
