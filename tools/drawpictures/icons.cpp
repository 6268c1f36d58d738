#include "motifs.h"
#include "paint.h"
#include "pictures.h"

#include <QtMath>

#include <algorithm>

using namespace palette;

namespace {

bool isSmall(QSize size)
{
    return size.width() <= 16;
}

// A toothed wheel around centre with a round hole in the middle.
QPainterPath gearPath(QPointF centre, qreal outer, qreal root, qreal hole, int teeth,
                      qreal toothWidth)
{
    QPainterPath wheel;
    wheel.addEllipse(centre, root, root);
    for (int i = 0; i < teeth; ++i) {
        QTransform turn;
        turn.translate(centre.x(), centre.y());
        turn.rotate(360.0 * i / teeth);
        QPainterPath tooth;
        tooth.addRoundedRect(QRectF(-toothWidth / 2, -outer, toothWidth, outer), 1, 1);
        wheel = wheel.united(turn.map(tooth));
    }
    QPainterPath bore;
    bore.addEllipse(centre, hole, hole);
    return wheel.subtracted(bore).simplified();
}

// A telephone handset standing upright, the ear and mouth pieces towards the right.
QPainterPath handsetPath(const QRectF& box)
{
    // Whole-pixel parts, so that the handset stays sharp on a pixel grid.
    const qreal grip = qRound(box.width() / 2);
    const qreal cup = qRound(box.height() * 0.28);
    const qreal round = cup / 2;
    QPainterPath handle;
    handle.addRoundedRect(QRectF(box.left(), box.top() + 1, grip, box.height() - 2), grip / 2,
                          grip / 2);
    QPainterPath ear;
    ear.addRoundedRect(QRectF(box.left(), box.top(), box.width(), cup), round, round);
    QPainterPath mouth;
    mouth.addRoundedRect(QRectF(box.left(), box.bottom() - cup, box.width(), cup), round, round);
    return handle.united(ear).united(mouth).simplified();
}

}  // namespace

void drawAppIcon(QPainter& p, QSize size)
{
    if (isSmall(size)) {
        drawDevice(p, QRect(0, 1, 16, 14));
    } else {
        const int margin = std::max(1, size.width() / 32);
        drawDevice(p, QRect(QPoint(margin, margin), size - QSize(2 * margin, 2 * margin)));
    }
}

void drawGeneralIcon(QPainter& p, QSize)
{
    const QPainterPath small = gearPath({24, 24}, 8, 6, 2, 6, 4);
    fillBordered(p, small, verticalRamp(small.boundingRect(), amber, amberDark));
    const QPainterPath big = gearPath({13, 13}, 12, 9, 3.5, 8, 6);
    fillBordered(p, big, bodyRamp(big.boundingRect()));
}

void drawFaxIcon(QPainter& p, QSize size)
{
    const bool small = isSmall(size);
    const QRect received = small ? QRect(7, 0, 8, 9) : QRect(13, 1, 14, 16);
    drawSheet(p, received, small ? 2 : 3);

    const QRectF body = small ? QRectF(0, 7, 16, 9) : QRectF(1, 13, 30, 17);
    fillBordered(p, body, small ? 1 : 2.5, bodyRamp(body));

    if (small) {
        p.fillRect(QRectF(7, 9, 7, 2), tealMid);
        for (int col = 0; col < 4; ++col)
            p.fillRect(QRectF(7 + col * 2, 12, 1, 2), col == 3 ? amber : grey);
    } else {
        p.fillRect(QRectF(12, 14, 17, 2), ink);  // the slot the sheet comes out of
        const QRectF display(13, 18, 15, 4);
        fillBordered(p, display, 0, verticalRamp(display, tealBright, teal));
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 4; ++col)
                p.fillRect(QRectF(13 + col * 4, 24 + row * 3, 3, 2), col == 3 ? amber : grey);
    }

    const QPainterPath handset = handsetPath(small ? QRectF(0, 3, 5, 13) : QRectF(3, 6, 8, 23));
    fillBordered(p, handset, verticalRamp(handset.boundingRect(), tealMid, teal));
}

void drawDirectoryIcon(QPainter& p, QSize)
{
    // Page edges behind the cover.
    fillBordered(p, QRectF(8, 4, 20, 26), 1, paper);
    for (int y = 7; y < 28; y += 3)
        hLine(p, 26, 26, y, light);

    const QRectF cover(5, 3, 21, 26);
    QPainterPath coverPath;
    coverPath.addRoundedRect(cover, 2, 2);
    fillBordered(p, coverPath, verticalRamp(cover, teal, tealDeep));
    p.fillRect(QRectF(6, 4, 3, 24), QColor(0, 0, 0, 50));

    // Index tabs on the open edge.
    for (int i = 0; i < 4; ++i)
        fillBordered(p, QRectF(26, 6 + i * 6, 4, 4), 1, i == 0 ? QColor(amber) : QColor(white));

    // A contact on the cover.
    QPainterPath person;
    person.addEllipse(QPointF(15.5, 11.5), 4, 4);
    QPainterPath shoulders;
    shoulders.addRoundedRect(QRectF(9, 17, 13, 9), 5, 5);
    person = person.united(shoulders.intersected(roundedBox(QRectF(9, 17, 13, 7), 0)));
    p.fillPath(person, white);
}

void drawMailboxIcon(QPainter& p, QSize)
{
    const QRectF post(17, 20, 4, 11);
    fillBordered(p, post, 0, verticalRamp(post, slate, ink));

    // The box: a flat bottom and a rounded roof, seen from the side.
    QPainterPath box;
    box.moveTo(7, 21);
    box.lineTo(7, 12);
    box.arcTo(QRectF(7, 4, 16, 16), 180, -90);
    box.lineTo(21, 4);
    box.arcTo(QRectF(13, 4, 16, 16), 90, -90);
    box.lineTo(29, 21);
    box.closeSubpath();
    fillBordered(p, box, bodyRamp(box.boundingRect()));

    // Its door at the near end, a letter in the opening.
    QPainterPath door;
    door.moveTo(1, 21);
    door.lineTo(1, 12);
    door.arcTo(QRectF(1, 4, 16, 16), 180, -180);
    door.lineTo(17, 21);
    door.closeSubpath();
    fillBordered(p, door, verticalRamp(door.boundingRect(), tealMid, teal));
    const QRectF letter(4, 12, 10, 7);
    fillBordered(p, letter, 0, white);
    QPainterPath flap;
    flap.moveTo(4.5, 12.5);
    flap.lineTo(9, 16);
    flap.lineTo(13.5, 12.5);
    p.setPen(QPen(grey, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(flap);

    // The flag, raised: there is mail.
    p.fillRect(QRectF(24, 3, 2, 13), ink);
    fillBordered(p, QRectF(24, 3, 7, 6), 0, verticalRamp(QRectF(24, 3, 7, 6), amber, amberDark));
}

void drawPcFaxIcon(QPainter& p, QSize)
{
    drawMonitor(p, QRect(0, 1, 27, 24));
    // The fax in front of the screen: the PC sends and receives it.
    p.save();
    p.translate(15, 15);
    drawFaxIcon(p, QSize(16, 16));
    p.restore();
}

void drawNetworkIcon(QPainter& p, QSize)
{
    // Links from the globe to the three stations.
    vLine(p, 15, 18, 21, ink, 2);
    hLine(p, 4, 27, 20, ink, 2);
    vLine(p, 4, 20, 23, ink, 2);
    vLine(p, 26, 20, 23, ink, 2);

    const QRectF earth(7, 1, 18, 18);
    QPainterPath globe;
    globe.addEllipse(earth);
    p.fillPath(globe, bodyRamp(earth));
    p.save();
    p.setClipPath(globe);
    p.setPen(QPen(tealMid, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(11.75, 1, 8.5, 18));
    p.drawLine(QPointF(7, 10), QPointF(25, 10));
    p.restore();
    p.setPen(QPen(ink, 1.25));
    p.drawEllipse(earth.adjusted(0.6, 0.6, -0.6, -0.6));

    for (int x : {0, 11, 22})
        drawMonitor(p, QRect(x, 23, 10, 9));
}

void drawReportsIcon(QPainter& p, QSize)
{
    const QRectF board(4, 3, 24, 28);
    fillBordered(p, board, 2, verticalRamp(board, teal, tealDeep));
    const QRectF sheet(6, 6, 20, 22);
    fillBordered(p, sheet, 0, paper, grey);

    for (int y : {10, 13})
        hLine(p, 9, y == 10 ? 22 : 18, y, grey);
    // A small bar chart.
    const int heights[] = {5, 9, 7, 11};
    for (int i = 0; i < 4; ++i)
        p.fillRect(QRectF(9 + i * 4, 26 - heights[i], 3, heights[i]), i == 3 ? amber : tealMid);
    hLine(p, 9, 23, 26, slate);

    const QRectF clip(11, 1, 10, 5);
    fillBordered(p, clip, 1.5, verticalRamp(clip, light, grey));
}

void drawLocalIcon(QPainter& p, QSize size)
{
    if (isSmall(size))
        drawMonitor(p, QRect(0, 1, 16, 14));
    else
        drawMonitor(p, QRect(1, 3, 30, 27));
}
