#pragma once

#include <QColor>
#include <QPointF>
#include <initializer_list>

class QPainter;
class QPainterPath;

namespace artgen {

enum class Emblem {
    Wolf,
    Nugget,
    Trail,
    Bolt,
    Note,
    Calf,
    Rocket,
    Paw,
    Spur,
    Hornet,
    Clipper,
    Canoe,
    Swords,
    Crown,
    Sun,
    Knot,
    Net,
    Skyline,
    Bell,
    Claws,
    Hawk,
    Flame,
    Bobcat,
    Star,
    WizardHat,
    Bull,
    Helmet,
    Piston,
    Antlers,
    Footprints
};

struct EmblemColours
{
    QColor field;  // what the emblem sits on
    QColor main;   // the emblem's body
    QColor detail; // eyes, outlines, grooves
    QColor accent; // one spot of a third colour (beak, flame, jewels)
};

// Draws the emblem centred on the origin, filling roughly the square -50..50 in both axes.
void drawEmblem(QPainter &p, Emblem emblem, const EmblemColours &c);

// Small shared helpers for the emblem painters.
void fillPolygon(QPainter &p, std::initializer_list<QPointF> points, const QColor &colour);
void fillPath(QPainter &p, const QPainterPath &path, const QColor &colour);
void fillEllipse(QPainter &p, QPointF centre, qreal rx, qreal ry, const QColor &colour);
// A regular star; with four points and a small inner radius it makes a sparkle.
void fillStar(QPainter &p, QPointF centre, qreal outer, qreal inner, int points,
              const QColor &colour);

} // namespace artgen
