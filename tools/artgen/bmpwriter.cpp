#include "bmpwriter.h"

#include <QPainter>

namespace artgen {

namespace {

constexpr quint32 kFileHeaderSize = 14;
constexpr quint32 kInfoHeaderSize = 40;
constexpr quint32 kPixelsPerMetre = 3780; // 96 dpi

void putU8(QByteArray &out, quint8 v)
{
    out.append(static_cast<char>(v));
}

void putU16(QByteArray &out, quint16 v)
{
    putU8(out, static_cast<quint8>(v & 0xff));
    putU8(out, static_cast<quint8>(v >> 8));
}

void putU32(QByteArray &out, quint32 v)
{
    putU16(out, static_cast<quint16>(v & 0xffff));
    putU16(out, static_cast<quint16>(v >> 16));
}

int stride(int width, int bitsPerPixel)
{
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

void putInfoHeader(QByteArray &out, int width, int height, quint16 bpp, quint32 imageSize,
                   quint32 ppm, quint32 coloursUsed)
{
    putU32(out, kInfoHeaderSize);
    putU32(out, static_cast<quint32>(width));
    putU32(out, static_cast<quint32>(height));
    putU16(out, 1); // planes
    putU16(out, bpp);
    putU32(out, 0); // BI_RGB
    putU32(out, imageSize);
    putU32(out, ppm);
    putU32(out, ppm);
    putU32(out, coloursUsed);
    putU32(out, 0); // all colours important
}

void padRow(QByteArray &out, qsizetype rowStart, int rowBytes)
{
    while (out.size() - rowStart < rowBytes)
        putU8(out, 0);
}

void putBgrRows(QByteArray &out, const QImage &rgb)
{
    const int rowBytes = stride(rgb.width(), 24);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const qsizetype rowStart = out.size();
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            putU8(out, static_cast<quint8>(qBlue(line[x])));
            putU8(out, static_cast<quint8>(qGreen(line[x])));
            putU8(out, static_cast<quint8>(qRed(line[x])));
        }
        padRow(out, rowStart, rowBytes);
    }
}

// Bit set = transparent, most significant bit is the leftmost pixel, rows bottom-up.
template <typename IsClear> void putAndMask(QByteArray &out, int width, int height, IsClear isClear)
{
    const int rowBytes = stride(width, 1);
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            if (isClear(x, y))
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(row);
    }
}

void putIconDir(QByteArray &out, int count)
{
    putU16(out, 0); // reserved
    putU16(out, 1); // icon, not cursor
    putU16(out, static_cast<quint16>(count));
}

void putIconDirEntry(QByteArray &out, int width, int height, int colourCount, quint16 bpp,
                     quint32 bytes, quint32 offset)
{
    putU8(out, static_cast<quint8>(width));
    putU8(out, static_cast<quint8>(height));
    putU8(out, static_cast<quint8>(colourCount));
    putU8(out, 0);  // reserved
    putU16(out, 1); // planes
    putU16(out, bpp);
    putU32(out, bytes);
    putU32(out, offset);
}

} // namespace

QByteArray bmpFile(const QImage &image)
{
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter p(&flat);
        p.drawImage(0, 0, image);
    }
    const quint32 pixelBytes = static_cast<quint32>(stride(flat.width(), 24) * flat.height());
    const quint32 offset = kFileHeaderSize + kInfoHeaderSize;

    QByteArray out;
    out.reserve(static_cast<qsizetype>(offset + pixelBytes));
    out.append("BM", 2);
    putU32(out, offset + pixelBytes);
    putU32(out, 0); // reserved
    putU32(out, offset);
    putInfoHeader(out, flat.width(), flat.height(), 24, pixelBytes, kPixelsPerMetre, 0);
    putBgrRows(out, flat);
    return out;
}

QByteArray ico24(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width();
    const int h = argb.height();
    auto isClear = [&argb](int x, int y) { return qAlpha(argb.pixel(x, y)) < 128; };

    // Masked pixels are stored black so that the XOR pass leaves the screen unchanged.
    QImage xorPart(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            xorPart.setPixel(x, y, isClear(x, y) ? qRgb(0, 0, 0) : argb.pixel(x, y) | 0xff000000);
    }

    const quint32 xorBytes = static_cast<quint32>(stride(w, 24) * h);
    const quint32 andBytes = static_cast<quint32>(stride(w, 1) * h);
    const quint32 imageBytes = kInfoHeaderSize + xorBytes + andBytes;

    QByteArray out;
    putIconDir(out, 1);
    putIconDirEntry(out, w, h, 0, 24, imageBytes, 6 + 16);
    putInfoHeader(out, w, h * 2, 24, xorBytes + andBytes, 0, 0);
    putBgrRows(out, xorPart);
    putAndMask(out, w, h, isClear);
    return out;
}

QByteArray ico4(const QList<IndexedImage> &images, const QList<QRgb> &palette)
{
    Q_ASSERT(palette.size() == 16);
    QByteArray entries;
    QByteArray bodies;
    quint32 offset = static_cast<quint32>(6 + 16 * images.size());
    for (const IndexedImage &img : images) {
        QByteArray body;
        const quint32 xorBytes = static_cast<quint32>(stride(img.width, 4) * img.height);
        const quint32 andBytes = static_cast<quint32>(stride(img.width, 1) * img.height);
        putInfoHeader(body, img.width, img.height * 2, 4, xorBytes + andBytes, 0, 16);
        for (QRgb c : palette) {
            putU8(body, static_cast<quint8>(qBlue(c)));
            putU8(body, static_cast<quint8>(qGreen(c)));
            putU8(body, static_cast<quint8>(qRed(c)));
            putU8(body, 0);
        }
        const int rowBytes = stride(img.width, 4);
        for (int y = img.height - 1; y >= 0; --y) {
            const qsizetype rowStart = body.size();
            for (int x = 0; x < img.width; x += 2) {
                const qsizetype i = static_cast<qsizetype>(y) * img.width + x;
                const quint8 hi = img.transparent[i] ? 0 : img.index[i] & 0x0f;
                const quint8 lo =
                    (x + 1 >= img.width || img.transparent[i + 1]) ? 0 : img.index[i + 1] & 0x0f;
                putU8(body, static_cast<quint8>((hi << 4) | lo));
            }
            padRow(body, rowStart, rowBytes);
        }
        putAndMask(body, img.width, img.height, [&img](int x, int y) {
            return img.transparent[static_cast<qsizetype>(y) * img.width + x];
        });
        putIconDirEntry(entries, img.width, img.height, 16, 4, static_cast<quint32>(body.size()),
                        offset);
        offset += static_cast<quint32>(body.size());
        bodies.append(body);
    }
    QByteArray out;
    putIconDir(out, static_cast<int>(images.size()));
    return out + entries + bodies;
}

} // namespace artgen
