#include "banner/picturedecoder.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace tarvell {

QImage PictureDecoder::fromJpeg(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    return fromDevice(&buffer, "jpeg");
}

QImage PictureDecoder::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromDevice(&file, QByteArray());
}

QImage PictureDecoder::fromDevice(QIODevice *device, const QByteArray &format)
{
    QImageReader reader(device, format);
    if (!format.isEmpty())
        reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(AllocationLimitMiB);

    const QSize announced = reader.size();
    if (!announced.isValid() || announced.width() > MaxSide || announced.height() > MaxSide ||
        qint64(announced.width()) * announced.height() > MaxPixels)
        return {};

    QImage picture;
    if (!reader.read(&picture))
        return {};
    return picture;
}

} // namespace tarvell
