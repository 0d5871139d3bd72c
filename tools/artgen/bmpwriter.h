#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>

namespace artgen {

// A palette image as the 4 bpp cursor needs it: one palette index per pixel, row-major, plus
// a flag for the pixels the AND mask should make see-through.
struct IndexedImage
{
    int width = 0;
    int height = 0;
    QList<quint8> index;
    QList<bool> transparent;
};

// The byte layouts are written out by hand rather than through Qt's writers so that every field
// (resolution, image size, palette counts) is exactly what the application and its tests expect.

// 24 bpp BI_RGB BMP file, bottom-up rows, 3780 pixels per metre. Anything not opaque is
// composited onto white first.
QByteArray bmpFile(const QImage &image);

// ICO with a single 24 bpp image and its AND mask. Pixels with alpha below one half are masked
// out (and stored black); the rest keep their colour.
QByteArray ico24(const QImage &image);

// ICO with one 16-colour image per entry of `images`, all sharing `palette` (16 entries).
QByteArray ico4(const QList<IndexedImage> &images, const QList<QRgb> &palette);

} // namespace artgen
