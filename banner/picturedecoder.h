#pragma once

#include <QByteArray>
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

    // The picture formats a banner may come in, told by the leading bytes alone: "jpeg", "gif"
    // or "bmp"; empty for anything else. A name or a Content-Type says nothing here.
    static QByteArray formatOf(QByteArrayView leading);

    // Fetched bytes, or a local file: the first frame of a JPEG, GIF or BMP, or nothing.
    static QImage fromBytes(const QByteArray &bytes);
    static QImage fromFile(const QString &path);
    static QImage fromDevice(QIODevice *device);
};

} // namespace tarvell
