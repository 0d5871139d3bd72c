#include "gear.h"

#include <QPainter>
#include <QPainterPath>

namespace artgen {

namespace {

void fillRect(QPainter &p, qreal x, qreal y, qreal w, qreal h, const QColor &colour)
{
    p.fillRect(QRectF(x, y, w, h), colour);
}

void stroke(QPainter &p, const QColor &colour, qreal width)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

} // namespace

void drawRocket(QPainter &p, const EmblemColours &c)
{
    p.save();
    p.rotate(35);
    fillPolygon(p, {{-9, 20}, {0, 48}, {9, 20}}, QColor(0xff, 0xa0, 0x1c));
    fillPolygon(p, {{-5, 20}, {0, 38}, {5, 20}}, QColor(0xff, 0xe0, 0x5c));
    fillPolygon(p, {{-12, -2}, {-28, 20}, {-28, 30}, {-12, 18}}, c.accent);
    fillPolygon(p, {{12, -2}, {28, 20}, {28, 30}, {12, 18}}, c.accent);
    QPainterPath body;
    body.moveTo(0, -48);
    body.cubicTo(15, -36, 14, -16, 13, 20);
    body.lineTo(-13, 20);
    body.cubicTo(-14, -16, -15, -36, 0, -48);
    fillPath(p, body, c.main);
    fillPolygon(p, {{-4, -6}, {4, -6}, {4, 28}, {-4, 28}}, c.accent);
    fillEllipse(p, {0, -18}, 8, 8, c.detail);
    fillEllipse(p, {0, -18}, 5, 5, c.field.lighter(160));
    p.restore();
}

void drawSpur(QPainter &p, const EmblemColours &c)
{
    stroke(p, c.main, 8);
    QPainterPath band;
    band.moveTo(-8, 6);
    band.cubicTo(-50, 10, -52, -34, -14, -34);
    p.drawPath(band);
    fillRect(p, -12, 0, 24, 8, c.main);
    fillStar(p, {22, 4}, 26, 8, 8, c.main);
    fillEllipse(p, {22, 4}, 6, 6, c.detail);
    fillEllipse(p, {22, 4}, 2.5, 2.5, c.main);
    fillRect(p, -42, -22, 10, 12, c.accent);
}

void drawClipper(QPainter &p, const EmblemColours &c)
{
    stroke(p, c.detail, 3);
    p.drawLine(QPointF(8, -46), QPointF(8, 16));
    p.drawLine(QPointF(-18, -34), QPointF(-18, 16));
    fillPolygon(p, {{8, -46}, {22, -42}, {8, -38}}, c.accent);
    fillPolygon(p, {{12, -36}, {12, 8}, {44, 8}}, c.main);
    fillPolygon(p, {{-12, -38}, {4, -38}, {6, 8}, {-14, 8}, {-9, -15}}, c.main);
    fillPolygon(p, {{-38, -28}, {-22, -28}, {-20, 8}, {-40, 8}, {-35, -10}}, c.main);
    fillPolygon(p, {{-46, 14}, {46, 12}, {34, 32}, {-36, 32}}, c.accent);
    stroke(p, c.main, 3);
    QPainterPath wave;
    wave.moveTo(-46, 42);
    for (int i = 0; i < 4; ++i)
        wave.quadTo(-34 + 23 * i, 34, -23 + 23 * i, 42);
    p.drawPath(wave);
}

void drawCanoe(QPainter &p, const EmblemColours &c)
{
    QPainterPath sun;
    sun.moveTo(-30, 6);
    sun.arcTo(QRectF(-30, -24, 60, 60), 180, -180);
    sun.closeSubpath();
    fillPath(p, sun, c.main);
    QPainterPath hull;
    hull.moveTo(-40, 2);
    hull.quadTo(0, 26, 40, 2);
    hull.quadTo(0, 14, -40, 2);
    fillPath(p, hull, c.detail);
    fillEllipse(p, {4, -8}, 5, 5, c.detail);
    fillPolygon(p, {{0, -4}, {8, -4}, {10, 10}, {-2, 10}}, c.detail);
    stroke(p, c.detail, 3);
    p.drawLine(QPointF(-10, -16), QPointF(20, 22));
    stroke(p, c.accent, 3.5);
    for (int row = 0; row < 3; ++row) {
        const qreal y = 24 + row * 9;
        const qreal half = 40 - row * 10;
        QPainterPath wave;
        wave.moveTo(-half, y);
        for (qreal x = -half; x < half - 1; x += 20) {
            wave.quadTo(x + 5, y - 5, x + 10, y);
            wave.quadTo(x + 15, y + 5, x + 20, y);
        }
        p.drawPath(wave);
    }
}

void drawSwords(QPainter &p, const EmblemColours &c)
{
    fillEllipse(p, {0, 2}, 22, 22, c.detail);
    fillEllipse(p, {0, 2}, 17, 17, c.accent);
    for (qreal angle : {-40.0, 40.0}) {
        p.save();
        p.rotate(angle);
        fillPolygon(p, {{-4, 22}, {-4, -38}, {0, -50}, {4, -38}, {4, 22}}, c.main);
        fillRect(p, -14, 20, 28, 6, c.accent);
        fillRect(p, -3, 26, 6, 14, c.detail);
        fillEllipse(p, {0, 43}, 4.5, 4.5, c.accent);
        p.restore();
    }
}

void drawCrown(QPainter &p, const EmblemColours &c)
{
    fillPolygon(p, {{-38, 30}, {38, 30}, {42, -20}, {20, 2}, {0, -30}, {-20, 2}, {-42, -20}},
                c.main);
    fillRect(p, -38, 16, 76, 14, c.main.darker(125));
    for (const QPointF &tip : {QPointF(-42, -24), QPointF(0, -34), QPointF(42, -24)})
        fillEllipse(p, tip, 5.5, 5.5, c.main);
    for (qreal x : {-22.0, 0.0, 22.0})
        fillEllipse(p, {x, 23}, 5, 5, c.accent);
    fillEllipse(p, {0, -2}, 5, 7, c.accent);
}

void drawNet(QPainter &p, const EmblemColours &c)
{
    stroke(p, c.main, 3);
    p.drawRect(QRectF(-38, -50, 76, 24));
    p.drawRect(QRectF(-12, -44, 24, 14));
    constexpr int kCords = 7;
    auto top = [](int i) { return QPointF(-28 + i * 56.0 / (kCords - 1), -24); };
    auto bottom = [](int i) { return QPointF(-16 + i * 32.0 / (kCords - 1), 40); };
    stroke(p, c.main, 2.2);
    for (int i = 0; i + 1 < kCords; ++i) {
        p.drawLine(top(i), bottom(i + 1));
        p.drawLine(top(i + 1), bottom(i));
    }
    p.drawLine(top(0), bottom(0));
    p.drawLine(top(kCords - 1), bottom(kCords - 1));
    stroke(p, c.accent, 5);
    p.drawEllipse(QPointF(0, -24), 30, 6);
}

void drawSkyline(QPainter &p, const EmblemColours &c)
{
    const struct
    {
        qreal x, w, h;
    } towers[] = {{-46, 14, 40}, {-30, 16, 58}, {-12, 15, 76},
                  {5, 15, 50},   {22, 12, 66},  {36, 12, 36}};
    const qreal ground = 38;
    fillPolygon(p, {{-12, ground - 76}, {3, ground - 76}, {-4.5, ground - 88}}, c.main);
    stroke(p, c.main, 2);
    p.drawLine(QPointF(-4.5, ground - 86), QPointF(-4.5, ground - 96));
    for (const auto &t : towers) {
        fillRect(p, t.x, ground - t.h, t.w, t.h, c.main);
        for (qreal y = ground - t.h + 5; y < ground - 8; y += 8) {
            for (qreal x = t.x + 3; x + 3 < t.x + t.w; x += 5)
                fillRect(p, x, y, 2.5, 3.5, c.field);
        }
    }
    fillRect(p, -48, ground, 96, 4, c.accent);
}

void drawBell(QPainter &p, const EmblemColours &c)
{
    fillRect(p, -14, -48, 28, 8, c.detail);
    QPainterPath bell;
    bell.moveTo(-16, -40);
    bell.cubicTo(-22, -12, -24, 10, -38, 26);
    bell.lineTo(38, 26);
    bell.cubicTo(24, 10, 22, -12, 16, -40);
    bell.cubicTo(10, -46, -10, -46, -16, -40);
    fillPath(p, bell, c.main);
    fillRect(p, -40, 22, 80, 9, c.main.darker(130));
    fillEllipse(p, {0, 38}, 7, 7, c.detail);
    stroke(p, c.detail, 2.5);
    p.drawPolyline(QPolygonF({{4, -36}, {-1, -22}, {6, -10}, {0, 2}, {5, 14}}));
    fillStar(p, {-12, -14}, 6, 2.5, 5, c.accent);
    fillStar(p, {13, 4}, 6, 2.5, 5, c.accent);
}

void drawHelmet(QPainter &p, const EmblemColours &c)
{
    QPainterPath plume;
    plume.moveTo(-2, -30);
    plume.cubicTo(6, -56, 40, -54, 48, -30);
    plume.cubicTo(36, -42, 18, -40, 8, -26);
    fillPath(p, plume, c.accent);
    QPainterPath dome;
    dome.moveTo(-28, 42);
    dome.lineTo(-28, -8);
    dome.cubicTo(-28, -42, 28, -42, 28, -8);
    dome.lineTo(28, 42);
    dome.closeSubpath();
    fillPath(p, dome, c.main);
    fillRect(p, -24, -8, 48, 7, c.detail);
    fillRect(p, -2, -36, 4, 28, c.main.darker(130));
    for (int row = 0; row < 3; ++row) {
        for (int col = -2; col <= 2; ++col)
            fillEllipse(p, {col * 8.0, 10.0 + row * 8}, 2.2, 2.2, c.detail);
    }
    fillRect(p, -32, 36, 64, 7, c.main.darker(130));
}

void drawPiston(QPainter &p, const EmblemColours &c)
{
    p.save();
    p.rotate(18);
    fillPolygon(p, {{-7, -16}, {7, -16}, {11, 26}, {-11, 26}}, c.main.darker(130));
    p.setPen(Qt::NoPen);
    p.setBrush(c.main);
    p.drawRoundedRect(QRectF(-24, -48, 48, 34), 4, 4);
    for (qreal y : {-42.0, -36.0, -30.0})
        fillRect(p, -24, y, 48, 2.5, c.detail);
    fillEllipse(p, {0, -20}, 4, 4, c.detail);
    fillEllipse(p, {0, 32}, 15, 15, c.main);
    fillEllipse(p, {0, 32}, 6.5, 6.5, c.field);
    p.restore();
    stroke(p, c.accent, 3.5);
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(-46, -22.0 + i * 10), QPointF(-32, -26.0 + i * 10));
}

void drawFootprints(QPainter &p, const EmblemColours &c)
{
    const struct
    {
        QPointF at;
        qreal angle;
    } steps[] = {{{-14, 12}, -14}, {{16, -12}, 12}};
    for (const auto &s : steps) {
        p.save();
        p.translate(s.at);
        p.rotate(s.angle);
        fillEllipse(p, {0, -10}, 11, 19, c.main);
        fillEllipse(p, {0, 22}, 9, 9, c.main);
        for (qreal y : {-20.0, -12.0, -4.0})
            fillRect(p, -7, y, 14, 2.5, c.field);
        p.restore();
    }
    stroke(p, c.accent, 3.5);
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(-48, 6.0 + i * 10), QPointF(-36, 6.0 + i * 10));
}

} // namespace artgen
