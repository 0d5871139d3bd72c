#pragma once

#include <QByteArray>
#include <QImage>

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

    // Bounds on the work the data asks for, beyond the size: checked in one pass over the
    // bytes before Qt's reader sees them, so that a refusal costs next to nothing.
    //
    // Each scan of a JPEG makes the decoder go over its coefficients once more, and a scan can
    // be a dozen bytes: a few hundred KiB hold tens of thousands. Encoders write about ten
    // (libjpeg's progressive script has ten for colour, six for grey; a sequential file has
    // one per component at most); three times that is room for any other script.
    static constexpr int MaxJpegScans = 32;
    // Pixels x components x scans: what the decoder goes over. A 468 x 60 colour banner in ten
    // scans is 0.85 million; this admits a progressive picture of the largest size allowed in
    // ten scans and keeps the worst accepted decode within a few tens of milliseconds.
    static constexpr qint64 MaxJpegWork = MaxPixels * 3 * 10;
    // Qt's GIF decoder expands every LZW code of the first frame, also those that write past
    // its end, and one code can stand for 4,000 pixels: the codes must not make more pixels
    // than the frame has, but for one longest string's worth.
    static constexpr qint64 MaxGifExcessPixels = 4096;
    // LZW needs at most 12 bits a pixel; a frame whose data is much larger carries more than
    // its pixels.
    static constexpr qint64 MaxGifBytesPerPixel = 2;
    static constexpr qint64 MaxGifExcessBytes = 1024;

    // The picture formats a banner may come in, told by the leading bytes alone: "jpeg", "gif"
    // or "bmp"; empty for anything else. A name or a Content-Type says nothing here.
    static QByteArray formatOf(QByteArrayView leading);

    // Whether decoding the bytes keeps to the bounds above: a walk over the JPEG's segments or
    // the GIF's blocks up to its first frame's data, linear in the bytes; nothing is decoded.
    // False for anything not a JPEG, GIF or BMP. Safe to call from any thread.
    static bool isAffordable(QByteArrayView bytes);

    // Fetched bytes, or a local file: the first frame of a JPEG, GIF or BMP, or nothing. A file
    // is held to the same size as a fetched picture. Safe to call from any thread.
    static QImage fromBytes(const QByteArray &bytes);
    static QImage fromFile(const QString &path);
};

} // namespace tarvell
