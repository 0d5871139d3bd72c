#include "emblems.h"

#include "creatures.h"
#include "gear.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <iterator>

namespace artgen {

void fillPolygon(QPainter &p, std::initializer_list<QPointF> points, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF(points));
}

void fillEllipse(QPainter &p, QPointF centre, qreal rx, qreal ry, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(centre, rx, ry);
}

void fillStar(QPainter &p, QPointF centre, qreal outer, qreal inner, int points,
              const QColor &colour)
{
    QPolygonF star;
    for (int i = 0; i < points * 2; ++i) {
        const qreal r = i % 2 == 0 ? outer : inner;
        const qreal a = -M_PI / 2 + i * M_PI / points;
        star << centre + QPointF(r * qCos(a), r * qSin(a));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(star);
}

void fillPath(QPainter &p, const QPainterPath &path, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
}

namespace {

void drawNugget(QPainter &p, const EmblemColours &c)
{
    fillPolygon(
        p, {{-34, -6}, {-16, -28}, {10, -30}, {32, -12}, {36, 12}, {20, 32}, {-8, 36}, {-32, 20}},
        c.main);
    fillPolygon(p, {{-16, -28}, {10, -30}, {4, -8}, {-14, -4}}, c.main.lighter(130));
    fillPolygon(p, {{36, 12}, {20, 32}, {-8, 36}, {4, 8}}, c.main.darker(125));
    fillPolygon(p, {{-34, -6}, {-14, -4}, {-20, 18}, {-32, 20}}, c.main.darker(110));
    fillStar(p, {34, -36}, 11, 2.5, 4, Qt::white);
    fillStar(p, {-36, -32}, 7, 1.8, 4, Qt::white);
    fillStar(p, {-4, 8}, 5, 1.2, 4, Qt::white);
}

void drawTrail(QPainter &p, const EmblemColours &c)
{
    fillPolygon(p, {{-48, 36}, {-10, -30}, {4, -8}, {18, -26}, {48, 36}}, c.main);
    fillPolygon(p, {{-10, -30}, {-19, -14}, {-12, -17}, {-6, -11}, {-2, -17}}, Qt::white);
    fillPolygon(p, {{18, -26}, {12, -18}, {16, -20}, {19, -15}, {22, -18}}, Qt::white);
    QPainterPath trail;
    trail.moveTo(-6, 36);
    trail.cubicTo(22, 26, -22, 16, 4, 6);
    trail.cubicTo(16, 0, -6, -8, -8, -22);
    p.setPen(QPen(c.accent, 4, Qt::DashLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trail);
}

void drawBolt(QPainter &p, const EmblemColours &c)
{
    p.setPen(QPen(c.detail, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(c.main);
    p.drawPolygon(
        QPolygonF({{0, -48}, {24, -48}, {8, -10}, {26, -10}, {-14, 48}, {-2, 4}, {-22, 4}}));
}

void drawNote(QPainter &p, const EmblemColours &c)
{
    for (const QPointF &head : {QPointF(-20, 30), QPointF(22, 20)}) {
        p.save();
        p.translate(head);
        p.rotate(-22);
        fillEllipse(p, {0, 0}, 12, 8.5, c.main);
        p.restore();
    }
    fillPolygon(p, {{-14, -28}, {-8, -29}, {-8, 27}, {-14, 28}}, c.main);
    fillPolygon(p, {{28, -38}, {34, -39}, {34, 17}, {28, 18}}, c.main);
    fillPolygon(p, {{-14, -28}, {34, -42}, {34, -30}, {-14, -16}}, c.main);
    fillPolygon(p, {{-14, -12}, {34, -26}, {34, -20}, {-14, -6}}, c.main);
}

void drawSun(QPainter &p, const EmblemColours &c)
{
    for (int i = 0; i < 16; ++i) {
        p.save();
        p.rotate(i * 22.5);
        const qreal reach = i % 2 == 0 ? 48 : 38;
        fillPolygon(p, {{-6, -24}, {0, -reach}, {6, -24}}, c.main);
        p.restore();
    }
    fillEllipse(p, {0, 0}, 27, 27, c.main);
    fillEllipse(p, {0, 0}, 20, 20, c.accent);
    fillEllipse(p, {-6, -6}, 7, 7, c.accent.lighter(125));
}

void drawKnot(QPainter &p, const EmblemColours &c)
{
    // Each ribbon is drawn twice, dark then light, so the loops read as interlaced bands.
    for (const auto &[colour, width] : {std::pair{c.detail, 10.0}, std::pair{c.main, 5.5}}) {
        p.setPen(QPen(colour, width));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(0, 4), 22, 22);
        for (int i = 0; i < 3; ++i) {
            p.save();
            p.translate(0, 4);
            p.rotate(i * 120);
            p.drawEllipse(QPointF(0, -20), 12, 24);
            p.restore();
        }
    }
}

void drawFlame(QPainter &p, const EmblemColours &c)
{
    QPainterPath flame;
    flame.moveTo(0, 46);
    flame.cubicTo(-30, 46, -38, 18, -24, -6);
    flame.cubicTo(-20, 4, -14, 8, -10, 8);
    flame.cubicTo(-18, -14, -8, -34, 4, -48);
    flame.cubicTo(4, -30, 16, -22, 22, -12);
    flame.cubicTo(24, -20, 26, -26, 24, -32);
    flame.cubicTo(40, -14, 40, 20, 26, 36);
    flame.cubicTo(20, 42, 10, 46, 0, 46);
    fillPath(p, flame, c.main);
    const QTransform inner = QTransform::fromTranslate(0, 46).scale(0.55, 0.6).translate(0, -46);
    fillPath(p, inner.map(flame), c.accent);
}

void drawMagicStar(QPainter &p, const EmblemColours &c)
{
    p.setBrush(Qt::NoBrush);
    const qreal widths[] = {6, 4.5, 3};
    for (int i = 0; i < 3; ++i) {
        QPainterPath tail;
        tail.moveTo(-46 + i * 4, 20 + i * 12);
        tail.quadTo(-20 + i * 6, 16 + i * 4, 0, -2 + i * 4);
        p.setPen(QPen(c.accent, widths[i], Qt::SolidLine, Qt::RoundCap));
        p.drawPath(tail);
    }
    fillStar(p, {14, -10}, 34, 14, 5, c.main);
    fillStar(p, {-30, -30}, 8, 2, 4, c.main);
    fillStar(p, {36, 34}, 7, 1.8, 4, c.main);
    fillStar(p, {-10, 40}, 5, 1.3, 4, c.main);
}

void drawWizardHat(QPainter &p, const EmblemColours &c)
{
    QPainterPath hat;
    hat.moveTo(-30, 30);
    hat.cubicTo(-18, 0, -4, -30, 14, -42);
    hat.quadTo(32, -50, 40, -34);
    hat.quadTo(26, -36, 18, -26);
    hat.cubicTo(16, -4, 22, 14, 30, 30);
    hat.closeSubpath();
    fillPath(p, hat, c.main);
    fillEllipse(p, {0, 32}, 46, 10, c.main);
    fillPolygon(p, {{-27, 22}, {27, 22}, {30, 30}, {-30, 30}}, c.accent);
    fillStar(p, {-2, 2}, 8, 3.2, 5, c.accent);
    fillStar(p, {10, -22}, 5, 2, 5, c.accent);
    fillStar(p, {-16, -30}, 4, 1, 4, c.accent);
    QPainterPath moon;
    moon.addEllipse(QPointF(15, 5), 7, 7);
    QPainterPath bite;
    bite.addEllipse(QPointF(18, 3), 6, 6);
    fillPath(p, moon.subtracted(bite), c.accent);
}

using Painter = void (*)(QPainter &, const EmblemColours &);

// Indexed by Emblem.
constexpr Painter kPainters[] = {
    drawWolf,      drawNugget, drawTrail,  drawBolt,   drawNote,    drawCalf,
    drawRocket,    drawPaw,    drawSpur,   drawHornet, drawClipper, drawCanoe,
    drawSwords,    drawCrown,  drawSun,    drawKnot,   drawNet,     drawSkyline,
    drawBell,      drawClaws,  drawHawk,   drawFlame,  drawBobcat,  drawMagicStar,
    drawWizardHat, drawBull,   drawHelmet, drawPiston, drawAntlers, drawFootprints,
};
static_assert(std::size(kPainters) == static_cast<size_t>(Emblem::Footprints) + 1);

} // namespace

void drawEmblem(QPainter &p, Emblem emblem, const EmblemColours &c)
{
    p.save();
    kPainters[static_cast<int>(emblem)](p, c);
    p.restore();
}

} // namespace artgen
