#include "testpictures.h"

#include <QBuffer>

#include <cstdlib>

namespace tarvell::test {

QByteArray TestPictures::encoded(const QColor &colour, QSize size, const char *format)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

QByteArray TestPictures::jpegAnnouncing(int width, int height)
{
    QByteArray bytes = encoded(Qt::gray, QSize(8, 8));
    // Baseline start of frame: FF C0, length (2), precision (1), height (2), width (2).
    const qsizetype frame = bytes.indexOf("\xFF\xC0");
    if (frame < 0 || frame + 9 > bytes.size())
        return {};
    bytes[frame + 5] = char(height >> 8);
    bytes[frame + 6] = char(height & 0xFF);
    bytes[frame + 7] = char(width >> 8);
    bytes[frame + 8] = char(width & 0xFF);
    return bytes;
}

bool TestPictures::isPlain(const QImage &picture, const QColor &colour)
{
    if (picture.isNull())
        return false;
    const QColor centre = picture.pixelColor(picture.width() / 2, picture.height() / 2);
    const QColor corner = picture.pixelColor(0, 0);
    auto near = [&colour](const QColor &seen) {
        constexpr int Tolerance = 24;
        return std::abs(seen.red() - colour.red()) <= Tolerance &&
               std::abs(seen.green() - colour.green()) <= Tolerance &&
               std::abs(seen.blue() - colour.blue()) <= Tolerance;
    };
    return near(centre) && near(corner);
}

} // namespace tarvell::test
