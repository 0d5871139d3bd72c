#include "icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace artgen {

void drawBasketball(QPainter &p, QPointF centre, qreal radius)
{
    p.save();
    p.translate(centre);
    const qreal seam = qMax(1.0, radius * 0.09);
    p.setPen(QPen(kBallSeam, seam));
    p.setBrush(kBallOrange);
    p.drawEllipse(QPointF(0, 0), radius, radius);

    QPainterPath clip;
    clip.addEllipse(QPointF(0, 0), radius, radius);
    p.setClipPath(clip);
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(-radius, 0), QPointF(radius, 0));
    p.drawLine(QPointF(0, -radius), QPointF(0, radius));
    // The two side seams are arcs of a circle centred well outside the ball.
    const qreal bend = radius * 1.35;
    p.drawEllipse(QPointF(-radius - bend * 0.55, 0), bend, bend);
    p.drawEllipse(QPointF(radius + bend * 0.55, 0), bend, bend);
    p.restore();
}

void drawPin(QPainter &p, QPointF tip, qreal head, const QColor &fill, const QColor &outline)
{
    // The pin's sides are the tangents from the tip to the head circle.
    const qreal d = head * 2.3;
    const QPointF c = tip - QPointF(0, d);
    const qreal ty = head * head / d;
    const qreal tx = head * qSqrt(1.0 - (head / d) * (head / d));

    QPainterPath circle;
    circle.addEllipse(c, head, head);
    QPainterPath cone;
    cone.moveTo(tip);
    cone.lineTo(c + QPointF(-tx, ty));
    cone.lineTo(c + QPointF(tx, ty));
    cone.closeSubpath();
    const QPainterPath pin = circle.united(cone).simplified();

    p.save();
    p.setPen(QPen(outline, qMax(1.0, head * 0.18), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(pin);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(c, head * 0.42, head * 0.42);
    p.restore();
}

void drawRouteArc(QPainter &p, QPointF from, QPointF to, qreal lift, const QColor &colour,
                  qreal width)
{
    QPainterPath arc;
    arc.moveTo(from);
    const QPointF mid = (from + to) / 2 - QPointF(0, lift);
    arc.quadTo(mid, to);
    p.save();
    QPen pen(colour, width, Qt::CustomDashLine, Qt::RoundCap);
    pen.setDashPattern({1.6, 1.8});
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    p.restore();
}

namespace {

// Qt picks its premultiplied-to-straight conversion by the CPU it runs on, and those routines
// round some channels differently by one; exact integer division keeps the committed icons
// the same on every machine that regenerates them.
QImage unpremultiplied(const QImage &premultiplied)
{
    QImage out(premultiplied.size(), QImage::Format_ARGB32);
    for (int y = 0; y < premultiplied.height(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(premultiplied.constScanLine(y));
        auto *to = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < premultiplied.width(); ++x) {
            const int a = qAlpha(from[x]);
            const auto straight = [a](int c) {
                return a == 0 ? 0 : qMin(255, (c * 255 + a / 2) / a);
            };
            to[x] = qRgba(straight(qRed(from[x])), straight(qGreen(from[x])),
                          straight(qBlue(from[x])), a);
        }
    }
    return out;
}

} // namespace

QImage appIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 32-unit grid so that every size shows the same picture.
    p.scale(size / 32.0, size / 32.0);

    drawBasketball(p, QPointF(16, 18.5), 12.5);

    const QColor ink(0x1d, 0x2b, 0x4f);
    const QPointF left(7.5, 24.5);
    const QPointF right(24.5, 16.0);
    drawRouteArc(p, left - QPointF(0, 6.5), right - QPointF(0, 6.5), 11, Qt::white, 1.6);
    drawPin(p, left, 4.4, QColor(0x2a, 0x6f, 0xd6), ink);
    drawPin(p, right, 4.4, QColor(0xd8, 0x2c, 0x3a), ink);
    p.end();
    return unpremultiplied(img);
}

} // namespace artgen
