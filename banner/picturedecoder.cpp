#include "banner/picturedecoder.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace tarvell {

namespace {

// The longest signature below.
constexpr qsizetype SignatureLength = 6;

bool withinBounds(QSize size)
{
    return size.isValid() && size.width() <= PictureDecoder::MaxSide &&
           size.height() <= PictureDecoder::MaxSide &&
           qint64(size.width()) * size.height() <= PictureDecoder::MaxPixels;
}

} // namespace

QByteArray PictureDecoder::formatOf(QByteArrayView leading)
{
    if (leading.startsWith("\xFF\xD8\xFF"))
        return QByteArrayLiteral("jpeg");
    if (leading.startsWith("GIF87a") || leading.startsWith("GIF89a"))
        return QByteArrayLiteral("gif");
    if (leading.startsWith("BM"))
        return QByteArrayLiteral("bmp");
    return {};
}

QImage PictureDecoder::fromBytes(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    return fromDevice(&buffer);
}

QImage PictureDecoder::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromDevice(&file);
}

QImage PictureDecoder::fromDevice(QIODevice *device)
{
    const QByteArray format = formatOf(device->peek(SignatureLength));
    if (format.isEmpty())
        return {};
    // The format is settled; the reader is not to guess another one, nor to wake the plugins
    // of formats the banner never shows.
    QImageReader reader(device, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(AllocationLimitMiB);

    if (!withinBounds(reader.size()))
        return {};

    // An animated GIF shows its first frame, as a still picture. Its size announces the first
    // frame, yet the whole logical screen is decoded (within the allocation limit): what comes
    // out must keep to the bounds as well.
    QImage picture;
    if (!reader.read(&picture) || !withinBounds(picture.size()))
        return {};
    return picture;
}

} // namespace tarvell
