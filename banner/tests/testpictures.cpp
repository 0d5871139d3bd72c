#include "testpictures.h"

#include <QBuffer>

#include <cstdlib>

namespace tarvell::test {

QByteArray TestPictures::encoded(const QColor &colour, QSize size, const char *format)
{
    if (qstrcmp(format, "GIF") == 0)
        return gif({colour}, size);
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

QByteArray TestPictures::gif(const QList<QColor> &frames, QSize size)
{
    auto word = [](QByteArray &out, int value) {
        out += char(value & 0xFF);
        out += char((value >> 8) & 0xFF);
    };
    QByteArray out("GIF89a");
    word(out, size.width());
    word(out, size.height());
    // A global table of 256 colours, the frames' own first.
    out += char(0xF7);
    out += char(0);
    out += char(0);
    for (int index = 0; index < 256; ++index) {
        const QColor colour = frames.value(index, Qt::black);
        out += char(colour.red());
        out += char(colour.green());
        out += char(colour.blue());
    }
    for (qsizetype frame = 0; frame < frames.size(); ++frame) {
        // Graphic control: 100 ms per frame.
        out += QByteArray("\x21\xF9\x04\x00", 4);
        word(out, 10);
        out += QByteArray("\x00\x00", 2);
        out += ',';
        word(out, 0);
        word(out, 0);
        word(out, size.width());
        word(out, size.height());
        out += char(0);

        // LZW with 9-bit codes only: every pixel a literal, and a clear code before the table
        // would grow past 9 bits.
        constexpr int MinCodeSize = 8;
        constexpr int Clear = 256;
        constexpr int End = 257;
        QByteArray codes;
        quint32 bits = 0;
        int bitCount = 0;
        auto put = [&](int code) {
            bits |= quint32(code) << bitCount;
            for (bitCount += 9; bitCount >= 8; bitCount -= 8) {
                codes += char(bits & 0xFF);
                bits >>= 8;
            }
        };
        const qint64 pixels = qint64(size.width()) * size.height();
        for (qint64 pixel = 0; pixel < pixels; ++pixel) {
            if (pixel % 250 == 0)
                put(Clear);
            put(int(frame));
        }
        put(End);
        if (bitCount > 0)
            codes += char(bits & 0xFF);

        out += char(MinCodeSize);
        for (qsizetype at = 0; at < codes.size(); at += 255) {
            const QByteArray block = codes.mid(at, 255);
            out += char(block.size());
            out += block;
        }
        out += char(0);
    }
    out += ';';
    return out;
}

QByteArray TestPictures::announcing(const char *format, int width, int height)
{
    QByteArray bytes = encoded(Qt::gray, QSize(8, 8), format);
    auto put16 = [&bytes](qsizetype at, int value, bool bigEndian) {
        bytes[at + (bigEndian ? 1 : 0)] = char(value & 0xFF);
        bytes[at + (bigEndian ? 0 : 1)] = char((value >> 8) & 0xFF);
    };
    if (qstrcmp(format, "JPEG") == 0) {
        // Baseline start of frame: FF C0, length (2), precision (1), height (2), width (2).
        const qsizetype frame = bytes.indexOf("\xFF\xC0");
        if (frame < 0 || frame + 9 > bytes.size())
            return {};
        put16(frame + 5, height, true);
        put16(frame + 7, width, true);
    } else if (qstrcmp(format, "BMP") == 0) {
        // The info header's width and height, 32 bits each, after the 14-byte file header.
        put16(18, width, false);
        put16(20, width >> 16, false);
        put16(22, height, false);
        put16(24, height >> 16, false);
    } else if (qstrcmp(format, "GIF") == 0) {
        // The logical screen, and the frame: after the screen, its colour table and the
        // graphic control block.
        put16(6, width, false);
        put16(8, height, false);
        put16(13 + 768 + 8 + 5, width, false);
        put16(13 + 768 + 8 + 7, height, false);
    }
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
