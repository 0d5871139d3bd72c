#include "creatures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace artgen {

namespace {

// Fills a shape and its mirror image across the vertical axis; faces are symmetric.
void fillPair(QPainter &p, std::initializer_list<QPointF> points, const QColor &colour)
{
    QPolygonF left(points);
    QPolygonF right;
    for (const QPointF &pt : left)
        right << QPointF(-pt.x(), pt.y());
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(left);
    p.drawPolygon(right);
}

void fillRotatedEllipse(QPainter &p, QPointF centre, qreal rx, qreal ry, qreal degrees,
                        const QColor &colour)
{
    p.save();
    p.translate(centre);
    p.rotate(degrees);
    fillEllipse(p, QPointF(0, 0), rx, ry, colour);
    p.restore();
}

QPainterPath mirrored(const QPainterPath &path)
{
    return QTransform::fromScale(-1, 1).map(path);
}

} // namespace

void drawWolf(QPainter &p, const EmblemColours &c)
{
    fillPolygon(p,
                {{-36, -46},
                 {-14, -26},
                 {14, -26},
                 {36, -46},
                 {36, -8},
                 {46, 8},
                 {22, 12},
                 {0, 44},
                 {-22, 12},
                 {-46, 8},
                 {-36, -8}},
                c.main);
    fillPolygon(p, {{-14, 0}, {14, 0}, {8, 30}, {0, 44}, {-8, 30}}, Qt::white);
    fillPair(p, {{-31, -36}, {-19, -26}, {-31, -16}}, c.detail);
    fillPair(p, {{-24, -12}, {-7, -4}, {-20, -1}}, c.detail);
    fillPolygon(p, {{-8, 30}, {8, 30}, {0, 41}}, c.detail);
}

void drawCalf(QPainter &p, const EmblemColours &c)
{
    const QColor horn(0xf5, 0xef, 0xe0);
    fillPair(p, {{-12, -30}, {-24, -46}, {-4, -34}}, horn);
    fillRotatedEllipse(p, {-36, -14}, 15, 7, -20, c.main);
    fillRotatedEllipse(p, {36, -14}, 15, 7, 20, c.main);
    fillRotatedEllipse(p, {-36, -14}, 9, 3.5, -20, c.accent);
    fillRotatedEllipse(p, {36, -14}, 9, 3.5, 20, c.accent);
    fillEllipse(p, {0, -4}, 26, 32, c.main);
    fillEllipse(p, {7, -20}, 10, 8, horn);
    fillEllipse(p, {0, 22}, 21, 15, c.accent);
    fillEllipse(p, {-8, 22}, 3.5, 5, c.detail);
    fillEllipse(p, {8, 22}, 3.5, 5, c.detail);
    fillEllipse(p, {-12, -4}, 4.5, 4.5, c.detail);
    fillEllipse(p, {12, -4}, 4.5, 4.5, c.detail);
}

void drawPaw(QPainter &p, const EmblemColours &c)
{
    QPainterPath pad;
    pad.moveTo(0, 2);
    pad.cubicTo(22, 2, 34, 24, 26, 36);
    pad.cubicTo(18, 46, -18, 46, -26, 36);
    pad.cubicTo(-34, 24, -22, 2, 0, 2);
    fillPath(p, pad, c.main);

    const struct
    {
        QPointF at;
        qreal angle;
    } toes[] = {{{-32, -8}, -30}, {{-12, -24}, -10}, {{12, -24}, 10}, {{32, -8}, 30}};
    for (const auto &toe : toes) {
        p.save();
        p.translate(toe.at);
        p.rotate(toe.angle);
        fillPolygon(p, {{-5, -8}, {0, -24}, {5, -8}}, c.detail);
        fillEllipse(p, {0, 0}, 9.5, 12, c.main);
        p.restore();
    }
}

void drawHornet(QPainter &p, const EmblemColours &c)
{
    p.save();
    p.rotate(-15);
    const QColor wing(255, 255, 255, 190);
    fillRotatedEllipse(p, {0, -20}, 22, 9, -25, wing);
    fillRotatedEllipse(p, {16, -22}, 16, 8, 25, wing);

    fillPolygon(p, {{-36, 4}, {-50, 10}, {-36, 14}}, c.detail);
    QPainterPath abdomen;
    abdomen.addEllipse(QPointF(-14, 8), 25, 15);
    fillPath(p, abdomen, c.main);
    p.save();
    p.setClipPath(abdomen);
    for (qreal x : {-30.0, -18.0, -6.0})
        fillPolygon(p, {{x, -10}, {x + 6, -10}, {x + 2, 26}, {x - 4, 26}}, c.detail);
    p.restore();

    fillEllipse(p, {16, 3}, 11, 10, c.detail);
    fillEllipse(p, {31, -1}, 9, 9, c.main);
    fillEllipse(p, {34, -3}, 3, 3.5, c.detail);
    p.setPen(QPen(c.detail, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, -9), QPointF(30, -22));
    p.drawLine(QPointF(36, -8), QPointF(42, -20));
    for (qreal x : {10.0, 16.0, 22.0})
        p.drawLine(QPointF(x, 12), QPointF(x - 4, 24));
    p.restore();
}

void drawClaws(QPainter &p, const EmblemColours &c)
{
    for (qreal dx : {-24.0, 0.0, 24.0}) {
        const qreal drop = dx == 0 ? -4 : 4; // middle slash sits a little higher
        QPainterPath slash;
        slash.moveTo(dx + 14, -44 + drop);
        slash.quadTo(dx - 8, drop, dx - 12, 44 + drop);
        slash.quadTo(dx + 12, drop, dx + 14, -44 + drop);
        fillPath(p, slash, c.main);
    }
}

void drawHawk(QPainter &p, const EmblemColours &c)
{
    QPainterPath head;
    head.moveTo(34, 44);
    head.cubicTo(44, 8, 30, -38, -4, -38);
    head.cubicTo(-20, -38, -30, -26, -30, -14);
    head.cubicTo(-30, 4, -14, 14, -10, 44);
    head.closeSubpath();
    fillPath(p, head, c.main);

    // Feathers along the back of the neck.
    fillPolygon(p, {{36, 10}, {48, 18}, {38, 20}, {46, 30}, {34, 30}}, c.main);

    QPainterPath beak;
    beak.moveTo(-22, -26);
    beak.cubicTo(-38, -28, -50, -14, -46, 6);
    beak.cubicTo(-42, -2, -36, -6, -28, -4);
    beak.lineTo(-20, -4);
    beak.closeSubpath();
    fillPath(p, beak, c.accent);

    fillEllipse(p, {-8, -18}, 6, 6, c.detail);
    fillEllipse(p, {-9.5, -19.5}, 1.8, 1.8, Qt::white);
    fillPolygon(p, {{-24, -30}, {8, -32}, {-2, -24}, {-20, -25}}, c.detail);
    p.setPen(QPen(c.detail, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 14), QPointF(22, 34));
    p.drawLine(QPointF(16, 6), QPointF(30, 24));
}

void drawBobcat(QPainter &p, const EmblemColours &c)
{
    fillPair(p, {{-36, -18}, {-30, -48}, {-10, -30}}, c.main);
    fillPair(p, {{-31, -24}, {-28, -40}, {-17, -29}}, c.accent);
    p.setPen(QPen(c.detail, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-30, -48), QPointF(-32, -54));
    p.drawLine(QPointF(30, -48), QPointF(32, -54));

    fillPair(p, {{-28, -4}, {-48, 16}, {-22, 20}}, c.main);
    fillEllipse(p, {0, 0}, 32, 31, c.main);
    fillEllipse(p, {-8, 18}, 10, 8, Qt::white);
    fillEllipse(p, {8, 18}, 10, 8, Qt::white);
    fillPolygon(p, {{-6, 7}, {6, 7}, {0, 14}}, c.accent);

    const QColor iris(0xf4, 0xe0, 0x5a);
    fillRotatedEllipse(p, {-13, -6}, 8, 5, 15, iris);
    fillRotatedEllipse(p, {13, -6}, 8, 5, -15, iris);
    fillEllipse(p, {-13, -6}, 1.8, 4.5, c.detail);
    fillEllipse(p, {13, -6}, 1.8, 4.5, c.detail);

    p.setPen(QPen(c.detail, 1.8, Qt::SolidLine, Qt::RoundCap));
    for (int side : {-1, 1}) {
        p.drawLine(QPointF(side * 14, 18), QPointF(side * 40, 12));
        p.drawLine(QPointF(side * 14, 21), QPointF(side * 40, 24));
        p.drawLine(QPointF(side * 4, -28), QPointF(side * 6, -18));
    }
    p.drawLine(QPointF(0, -30), QPointF(0, -19));
}

void drawBull(QPainter &p, const EmblemColours &c)
{
    QPainterPath horn;
    horn.moveTo(-14, -20);
    horn.cubicTo(-36, -18, -52, -28, -46, -50);
    horn.cubicTo(-42, -38, -30, -36, -12, -36);
    horn.closeSubpath();
    fillPath(p, horn, c.accent);
    fillPath(p, mirrored(horn), c.accent);

    fillRotatedEllipse(p, {-30, -20}, 11, 5, -15, c.main);
    fillRotatedEllipse(p, {30, -20}, 11, 5, 15, c.main);

    QPainterPath head;
    head.moveTo(-24, -34);
    head.lineTo(24, -34);
    head.cubicTo(30, -10, 20, 10, 16, 28);
    head.cubicTo(12, 44, -12, 44, -16, 28);
    head.cubicTo(-20, 10, -30, -10, -24, -34);
    fillPath(p, head, c.main);

    fillEllipse(p, {0, 30}, 16, 11, c.main.lighter(150));
    fillEllipse(p, {-7, 30}, 3, 4, c.detail);
    fillEllipse(p, {7, 30}, 3, 4, c.detail);
    fillPair(p, {{-18, -12}, {-5, -4}, {-15, -1}}, Qt::white);

    p.setPen(QPen(c.accent, 3.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 41), 6, 6);
}

void drawAntlers(QPainter &p, const EmblemColours &c)
{
    QPainterPath antler;
    antler.moveTo(-7, -12);
    antler.cubicTo(-14, -26, -30, -30, -44, -48);
    antler.moveTo(-16, -24);
    antler.lineTo(-14, -46);
    antler.moveTo(-29, -33);
    antler.lineTo(-32, -50);
    antler.moveTo(-10, -18);
    antler.lineTo(-28, -16);
    p.setPen(QPen(c.accent, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(antler);
    p.drawPath(mirrored(antler));

    fillRotatedEllipse(p, {-24, -4}, 13, 6, 20, c.main);
    fillRotatedEllipse(p, {24, -4}, 13, 6, -20, c.main);
    QPainterPath head;
    head.moveTo(-15, -14);
    head.lineTo(15, -14);
    head.cubicTo(18, 10, 8, 38, 0, 44);
    head.cubicTo(-8, 38, -18, 10, -15, -14);
    fillPath(p, head, c.main);
    fillEllipse(p, {0, 36}, 6, 5, c.detail);
    fillPair(p, {{-13, -4}, {-4, 0}, {-11, 3}}, c.detail);
}

} // namespace artgen
