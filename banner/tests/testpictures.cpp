#include "testpictures.h"

#include <QBuffer>
#include <QImageWriter>

#include <cstdlib>
#include <utility>

namespace tarvell::test {

namespace {

void putWord(QByteArray &out, int value)
{
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

// LZW codes packed as GIF packs them, the least significant bit first.
class CodeWriter
{
public:
    void put(int code, int size)
    {
        m_bits |= quint32(code) << m_count;
        for (m_count += size; m_count >= 8; m_count -= 8) {
            m_bytes += char(m_bits & 0xFF);
            m_bits >>= 8;
        }
    }
    QByteArray finish()
    {
        if (m_count > 0)
            m_bytes += char(m_bits & 0xFF);
        m_bits = 0;
        m_count = 0;
        return std::exchange(m_bytes, {});
    }

private:
    QByteArray m_bytes;
    quint32 m_bits = 0;
    int m_count = 0;
};

// Two-bit LZW: codes start at three bits, the first free entry is 6.
constexpr int MinCodeSize = 2;
constexpr int ClearCode = 1 << MinCodeSize;
constexpr int EndCode = ClearCode + 1;

// A GIF89a screen with a global table of four colours (red first), and `frames` frames of the
// given size at its top left, each of the same LZW data.
QByteArray gifOf(QSize screen, QSize frame, const QByteArray &codes, int frames = 1)
{
    QByteArray out("GIF89a");
    putWord(out, screen.width());
    putWord(out, screen.height());
    out += char(0x81);
    out += char(0);
    out += char(0);
    out += QByteArray("\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF\xFF\xFF\xFF", 12);
    QByteArray image(",");
    putWord(image, 0);
    putWord(image, 0);
    putWord(image, frame.width());
    putWord(image, frame.height());
    image += char(0);
    image += char(MinCodeSize);
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        image += char(block.size());
        image += block;
    }
    image += char(0);
    out += image.repeated(frames);
    out += ';';
    return out;
}

} // namespace

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

QByteArray TestPictures::progressiveJpeg(const QColor &colour, QSize size, int scans)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    if (!writer.write(picture))
        return {};
    // The last scan runs from its SOS marker to the EOI at the end; entropy-coded data never
    // holds FF DA, as every FF in it is followed by 00.
    const qsizetype last = bytes.lastIndexOf("\xFF\xDA");
    if (last < 0 || !bytes.endsWith("\xFF\xD9"))
        return {};
    // One scan would be no progressive JPEG at all.
    const qsizetype written = bytes.count("\xFF\xDA");
    if (written < 2)
        return {};
    if (scans > written) {
        const QByteArray scan = bytes.mid(last, bytes.size() - 2 - last);
        bytes.insert(bytes.size() - 2, scan.repeated(scans - written));
    }
    return bytes;
}

QByteArray TestPictures::expandingGif(QSize size, qint64 pixels)
{
    CodeWriter codes;
    int codeSize = MinCodeSize + 1;
    codes.put(ClearCode, codeSize);
    codes.put(0, codeSize);
    qint64 made = 1;
    // Each code names the entry it is about to make (its predecessor's string and that
    // string's first pixel) until the table is full, then the last entry again and again.
    int next = ClearCode + 2;
    int length = 1;
    constexpr int TableSize = 4096;
    while (made < pixels) {
        if (next < TableSize) {
            codes.put(next, codeSize);
            ++length;
            if (++next >= (1 << codeSize) && codeSize < 12)
                ++codeSize;
        } else {
            codes.put(TableSize - 1, codeSize);
        }
        made += length;
    }
    codes.put(EndCode, codeSize);
    return gifOf(size, size, codes.finish());
}

QByteArray TestPictures::clearingGif(QSize size, qint64 clears)
{
    // A clear code before every pixel keeps the codes at three bits and the table empty.
    CodeWriter codes;
    const int codeSize = MinCodeSize + 1;
    for (qint64 pixel = 0; pixel < qint64(size.width()) * size.height(); ++pixel) {
        codes.put(ClearCode, codeSize);
        codes.put(0, codeSize);
    }
    for (qint64 clear = 0; clear < clears; ++clear)
        codes.put(ClearCode, codeSize);
    codes.put(EndCode, codeSize);
    return gifOf(size, size, codes.finish());
}

QByteArray TestPictures::manyFramesGif(QSize size, int frames)
{
    CodeWriter codes;
    codes.put(ClearCode, MinCodeSize + 1);
    codes.put(0, MinCodeSize + 1);
    codes.put(EndCode, MinCodeSize + 1);
    return gifOf(size, QSize(1, 1), codes.finish(), frames);
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
