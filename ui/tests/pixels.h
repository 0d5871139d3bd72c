#pragma once

// Reading rendered widgets: where the ink is and how dark it is, in device pixels.
#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>

namespace pixels {

inline QImage grab(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A rectangle in the widget's logical pixels as device pixels of its grab.
inline QRect toDevice(const QRect &logical, const QImage &image)
{
    const qreal ratio = image.devicePixelRatio();
    return QRect(qRound(logical.x() * ratio), qRound(logical.y() * ratio),
                 qRound(logical.width() * ratio), qRound(logical.height() * ratio));
}

// Bounding box of the pixels in `area` that differ from `background`.
inline QRect inkRect(const QImage &image, const QColor &background, QRect area = {})
{
    area = area.isNull() ? image.rect() : area.intersected(image.rect());
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) != background)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

// How many pixels have exactly this colour.
inline int count(const QImage &image, const QColor &colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == colour;
    }
    return n;
}

// The pixel of `area` with the least luminance.
inline QColor darkest(const QImage &image, const QRect &area)
{
    QColor result(Qt::white);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qGray(c.rgb()) < qGray(result.rgb()))
                result = c;
        }
    }
    return result;
}

} // namespace pixels
