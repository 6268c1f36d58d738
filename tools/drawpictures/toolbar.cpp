#include "motifs.h"
#include "paint.h"
#include "pictures.h"

#include <QFont>

using namespace palette;

namespace {

constexpr int buttonWidth = 22;

// A plug whose cable leaves to the left and whose pins point right, ending at pinsEnd.
void drawPlug(QPainter& p, int bodyLeft, int pinsEnd)
{
    const int bodyRight = pinsEnd - 3;
    hLine(p, 1, bodyLeft - 1, 11, ink, 2);
    for (int y : {8, 14})
        p.fillRect(QRectF(bodyRight, y, pinsEnd - bodyRight, 2), slate);
    QPainterPath body;
    body.addRoundedRect(QRectF(bodyLeft, 6, bodyRight - bodyLeft, 12), 3, 3);
    body = body.united(roundedBox(QRectF(bodyLeft + 3, 6, bodyRight - bodyLeft - 3, 12), 0));
    fillBordered(p, body, verticalRamp(body.boundingRect(), tealBright, teal));
}

// A socket open to the left, its cable leaving to the right.
void drawSocket(QPainter& p, int left)
{
    QPainterPath socket;
    socket.addRoundedRect(QRectF(left, 5, 6, 14), 3, 3);
    socket = socket.united(roundedBox(QRectF(left, 5, 3, 14), 0));
    fillBordered(p, socket, bodyRamp(socket.boundingRect()));
    for (int y : {8, 14})
        p.fillRect(QRectF(left, y, 2, 2), ink);
    hLine(p, left + 6, buttonWidth - 2, 11, ink, 2);
}

void drawConnect(QPainter& p)
{
    drawSocket(p, 12);
    drawPlug(p, 4, 13);
}

void drawDisconnect(QPainter& p)
{
    drawSocket(p, 14);
    drawPlug(p, 3, 11);
    // The break between plug and socket.
    p.setPen(QPen(amberDark, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 6), QPointF(14, 4));
    p.drawLine(QPointF(12, 18), QPointF(14, 20));
}

void drawApply(QPainter& p)
{
    drawDevice(p, QRect(3, 9, 16, 13));
    const QPainterPath arrow =
        polygon({{9, 0.5}, {13, 0.5}, {13, 4}, {16.5, 4}, {11, 9.5}, {5.5, 4}, {9, 4}});
    fillBordered(p, arrow, verticalRamp(arrow.boundingRect(), amber, amberDark));
}

void drawOpen(QPainter& p)
{
    const QPainterPath back = polygon({{2, 18}, {2, 5}, {8, 5}, {9, 6}, {17, 6}, {17, 18}});
    fillBordered(p, back, verticalRamp(back.boundingRect(), amberDark, amberDark.darker(120)));
    fillBordered(p, QRectF(5, 8, 11, 8), 0, paper, slate);
    const QPainterPath front = polygon({{2, 18}, {5, 10}, {21, 10}, {17, 18}});
    fillBordered(p, front, verticalRamp(front.boundingRect(), amber.lighter(110), amber));
}

void drawSave(QPainter& p)
{
    const QPainterPath disk = polygon({{3, 3}, {17, 3}, {20, 6}, {20, 20}, {3, 20}});
    fillBordered(p, disk, verticalRamp(disk.boundingRect(), tealMid, teal));
    const QRectF shutter(7, 3, 9, 6);
    fillBordered(p, shutter, 0, verticalRamp(shutter, light, grey));
    p.fillRect(QRectF(12, 4, 2, 4), slate);
    const QRectF label(6, 12, 11, 8);
    fillBordered(p, label, 0, paper);
    hLine(p, 8, 14, 14, grey);
    hLine(p, 8, 14, 16, grey);
}

void drawHelp(QPainter& p)
{
    const QRectF disc(2, 2.5, 18, 18);
    QPainterPath circle;
    circle.addEllipse(disc);
    fillBordered(p, circle, verticalRamp(disc, tealBright, teal));
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(14);
    p.setFont(font);
    p.setPen(white);
    p.drawText(disc, Qt::AlignCenter, "?");
}

}  // namespace

void drawToolbar(QPainter& p, QSize)
{
    // In the toolbar's order: connect, disconnect, apply, open, save, help.
    void (*const buttons[])(QPainter&) = {drawConnect, drawDisconnect, drawApply,
                                           drawOpen,    drawSave,       drawHelp};
    for (auto draw : buttons) {
        draw(p);
        p.translate(buttonWidth, 0);
    }
}
