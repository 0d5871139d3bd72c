#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>

class QPainter;

namespace artgen {

inline const QColor kBallOrange(0xee, 0x7b, 0x22);
inline const QColor kBallSeam(0x5a, 0x2a, 0x0c);

// A basketball seen from the side: disc plus the four seam curves.
void drawBasketball(QPainter &p, QPointF centre, qreal radius);

// A teardrop map pin whose point sits at `tip`; `head` is the radius of the round part.
void drawPin(QPainter &p, QPointF tip, qreal head, const QColor &fill, const QColor &outline);

// Dashed great-circle-ish arc from `from` to `to`, bulging upwards by `lift`.
void drawRouteArc(QPainter &p, QPointF from, QPointF to, qreal lift, const QColor &colour,
                  qreal width);

// The program icon (two pins joined over a ball) at `size` pixels, transparent around it.
QImage appIcon(int size);

} // namespace artgen
