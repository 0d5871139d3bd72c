#include "cursor.h"

#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTransform>

namespace artgen {

namespace {

// A round-ended bar from `a` to `b`, the shape of one finger.
QPainterPath capsule(QPointF a, QPointF b, qreal width)
{
    QPainterPath line;
    line.moveTo(a);
    line.lineTo(b);
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    return stroker.createStroke(line);
}

struct Part
{
    QPainterPath shape;
    // A creased part keeps its whole outline over what was drawn before (the gaps between
    // curled fingers); the others only show the outline of the hand as a whole.
    bool creased;
};

// Laid out pointing up on a 32-unit grid and flipped when sampled; later parts cover earlier
// ones.
QList<Part> handParts(bool withCreases)
{
    QList<Part> parts;
    parts.append({capsule({10.5, 3.5}, {10.5, 20}, 6), withCreases});    // pointing finger
    parts.append({capsule({15.8, 12.5}, {15.8, 20}, 5.6), withCreases}); // curled fingers
    parts.append({capsule({20.6, 14}, {20.6, 20}, 5.2), withCreases});
    parts.append({capsule({24.8, 16}, {24.8, 21}, 4.6), withCreases});
    QPainterPath palm;
    palm.addRoundedRect(QRectF(7.5, 18, 19.8, 11.5), 4.5, 4.5);
    QPainterPath wrist;
    wrist.addRect(QRectF(9.5, 26, 15.5, 6));
    parts.append({palm.united(wrist), false});
    parts.append({capsule({3.5, 16.5}, {9.5, 24.5}, 5.6), withCreases}); // thumb
    return parts;
}

bool inside(const QPainterPath &path, int x, int y, qreal scale)
{
    // Sample the pixel centre in the 32-unit layout, flipped so the finger points down.
    const qreal ux = (x + 0.5) / scale;
    const qreal uy = 32.0 - (y + 0.5) / scale;
    return path.contains(QPointF(ux, uy));
}

} // namespace

QList<QRgb> cursorPalette()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

IndexedImage handCursor(int size)
{
    const qreal scale = size / 32.0;
    // At 16 pixels the creases would swallow the white fill entirely.
    const QList<Part> parts = handParts(size >= 32);
    auto inHand = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= size || y >= size)
            return false;
        for (const Part &part : parts) {
            if (inside(part.shape, x, y, scale))
                return true;
        }
        return false;
    };

    IndexedImage img;
    img.width = size;
    img.height = size;
    img.index.fill(kCursorBlack, size * size);
    img.transparent.fill(true, size * size);

    for (const Part &part : parts) {
        auto in = [&](int x, int y) {
            if (!part.creased)
                return inHand(x, y);
            return x >= 0 && y >= 0 && x < size && y < size && inside(part.shape, x, y, scale);
        };
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (!inside(part.shape, x, y, scale))
                    continue;
                const bool edge = !in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1);
                const qsizetype i = static_cast<qsizetype>(y) * size + x;
                img.index[i] = edge ? kCursorBlack : kCursorWhite;
                img.transparent[i] = false;
            }
        }
    }
    return img;
}

QPoint handHotSpot(int size)
{
    // The lowest covered pixel of the pointing finger, in the middle of that row's run.
    const qreal scale = size / 32.0;
    const QPainterPath finger = handParts(false).constFirst().shape;
    for (int y = size - 1; y >= 0; --y) {
        int first = -1;
        int last = -1;
        for (int x = 0; x < size; ++x) {
            if (inside(finger, x, y, scale)) {
                if (first < 0)
                    first = x;
                last = x;
            }
        }
        if (first >= 0)
            return QPoint((first + last) / 2, y);
    }
    return QPoint(0, size - 1);
}

} // namespace artgen
