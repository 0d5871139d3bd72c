#pragma once

#include <QImage>

class QIODevice;

namespace tarvell {

// Turns bytes into a banner picture, refusing anything whose decoding could cost more than a
// banner is worth. A null image means: no picture.
class PictureDecoder
{
public:
    // Bounds on the size a picture announces, checked before any pixel is decoded. The banner
    // is 468 x 60; a header claiming 60000 x 60000 from a few hundred bytes is a bomb.
    static constexpr int MaxSide = 4096;
    static constexpr qint64 MaxPixels = 2048 * 1024;
    // In MiB, for QImageReader::setAllocationLimit: room for MaxPixels at four bytes each.
    static constexpr int AllocationLimitMiB = 10;

    // Fetched bytes are JPEG or nothing: the reader is not allowed to guess another format.
    static QImage fromJpeg(const QByteArray &bytes);
    // A local file may be any format Qt reads.
    static QImage fromFile(const QString &path);
    // Same rules over any device; an empty format means: detect it from the content.
    static QImage fromDevice(QIODevice *device, const QByteArray &format);
};

} // namespace tarvell
