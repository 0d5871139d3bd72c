#include "banner/picturedecoder.h"

#include "banner/fetchlimits.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <array>
#include <cstring>
#include <optional>

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

// Reads the bytes front to back; past the end every read gives nothing and the cursor stays.
class ByteCursor
{
public:
    explicit ByteCursor(QByteArrayView bytes) : m_bytes(bytes) {}

    bool atEnd() const { return m_at >= m_bytes.size(); }
    qsizetype position() const { return m_at; }
    std::optional<int> byte()
    {
        if (atEnd())
            return std::nullopt;
        return int(quint8(m_bytes[m_at++]));
    }
    std::optional<int> bigEndian16()
    {
        if (m_bytes.size() - m_at < 2)
            return std::nullopt;
        const int value = (quint8(m_bytes[m_at]) << 8) | quint8(m_bytes[m_at + 1]);
        m_at += 2;
        return value;
    }
    std::optional<int> littleEndian16()
    {
        if (m_bytes.size() - m_at < 2)
            return std::nullopt;
        const int value = quint8(m_bytes[m_at]) | (quint8(m_bytes[m_at + 1]) << 8);
        m_at += 2;
        return value;
    }
    bool skip(qsizetype count)
    {
        if (m_bytes.size() - m_at < count)
            return false;
        m_at += count;
        return true;
    }
    QByteArrayView view(qsizetype count) const { return m_bytes.sliced(m_at, count); }
    qsizetype remaining() const { return m_bytes.size() - m_at; }
    // Moves to the next FF that starts a marker in entropy-coded data: FF 00 is a stuffed data
    // byte, FF D0 to FF D7 a restart, and further FFs before a marker are fill.
    void skipEntropyCodedData()
    {
        const char *data = m_bytes.data();
        while (m_at < m_bytes.size()) {
            const void *found = std::memchr(data + m_at, 0xFF, size_t(m_bytes.size() - m_at));
            if (!found) {
                m_at = m_bytes.size();
                return;
            }
            m_at = static_cast<const char *>(found) - data;
            if (m_at + 1 >= m_bytes.size())
                return;
            const int next = quint8(data[m_at + 1]);
            if (next != 0x00 && next != 0xFF && (next < 0xD0 || next > 0xD7))
                return;
            m_at += next == 0xFF ? 1 : 2;
        }
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

// The JPEG's segments as libjpeg reads them, up to its EOI: the frame and how many scans.
bool jpegIsAffordable(QByteArrayView bytes)
{
    constexpr int SOI = 0xD8, EOI = 0xD9, SOS = 0xDA, TEM = 0x01;
    ByteCursor cursor(bytes);
    cursor.skip(2);
    qint64 pixels = 0;
    int components = 0;
    int scans = 0;
    bool inScan = false;
    while (!cursor.atEnd()) {
        if (inScan)
            cursor.skipEntropyCodedData();
        // libjpeg skips anything up to the next FF, and FFs before a marker are fill.
        std::optional<int> marker = cursor.byte();
        while (marker && *marker != 0xFF)
            marker = cursor.byte();
        while (marker && *marker == 0xFF)
            marker = cursor.byte();
        if (!marker || *marker == EOI)
            break;
        if (*marker == 0x00 || *marker == TEM || (*marker >= 0xD0 && *marker <= 0xD7))
            continue;
        // A second start of image is an error to libjpeg; nothing of it is decoded.
        if (*marker == SOI)
            return false;
        const std::optional<int> length = cursor.bigEndian16();
        // libjpeg reads on after a length below 2 as if the segment were empty; no encoder
        // writes one.
        if (length && *length < 2)
            return false;
        // Cut short: libjpeg ends the picture there.
        const qsizetype payload = length ? *length - 2 : 0;
        if (!length || cursor.remaining() < payload)
            break;
        const QByteArrayView segment = cursor.view(payload);
        cursor.skip(payload);
        inScan = *marker == SOS;
        if (inScan) {
            if (++scans > PictureDecoder::MaxJpegScans)
                return false;
            continue;
        }
        // Start of frame: C0 to CF but for C4 (Huffman tables), C8 (reserved) and CC
        // (arithmetic conditioning).
        if (*marker < 0xC0 || *marker > 0xCF || *marker == 0xC4 || *marker == 0xC8 ||
            *marker == 0xCC)
            continue;
        // Baseline, extended and progressive Huffman are what encoders write; lossless,
        // hierarchical and arithmetic coding are rarely decoded anywhere, and the less of
        // libjpeg a hostile picture reaches the better. A second frame is an error.
        if ((*marker != 0xC0 && *marker != 0xC1 && *marker != 0xC2) || components > 0 ||
            segment.size() < 6)
            return false;
        const int height = (quint8(segment[1]) << 8) | quint8(segment[2]);
        const int width = (quint8(segment[3]) << 8) | quint8(segment[4]);
        components = quint8(segment[5]);
        // A height of 0 is given later by a DNL marker, which libjpeg does not read.
        if (!withinBounds(QSize(width, height)) || components == 0)
            return false;
        pixels = qint64(width) * height;
    }
    return components > 0 && pixels * components * scans <= PictureDecoder::MaxJpegWork;
}

// The LZW codes of a GIF frame as Qt's decoder reads them: how many pixels they make. Streams
// no encoder writes (a first code that is no colour, a code past the next free entry) are
// refused rather than followed, since Qt follows them into entries left from before the last
// clear code.
class LzwWalk
{
public:
    LzwWalk(int minCodeSize, qint64 maxPixels)
        : m_clear(1 << minCodeSize), m_codeSizeAtClear(minCodeSize + 1), m_maxPixels(maxPixels)
    {
        m_length.fill(1);
        restart();
    }

    // False once the codes are odd or make too many pixels.
    bool feed(int byte)
    {
        if (m_ended)
            return true;
        m_bits |= quint32(byte) << m_bitCount;
        m_bitCount += 8;
        while (m_bitCount >= m_codeSize) {
            const int code = int(m_bits & ((1u << m_codeSize) - 1));
            m_bits >>= m_codeSize;
            m_bitCount -= m_codeSize;
            if (code == m_clear) {
                restart();
            } else if (code == m_clear + 1) {
                m_ended = true;
                return true;
            } else if (m_needFirst) {
                if (code >= m_clear)
                    return false;
                m_pixels += 1;
                m_previous = code;
                m_needFirst = false;
            } else {
                if (code > m_next)
                    return false;
                m_pixels += code == m_next ? m_length[m_previous] + 1 : m_length[code];
                if (m_next < TableSize) {
                    m_length[m_next] = m_length[m_previous] + 1;
                    if (++m_next >= (1 << m_codeSize) && m_codeSize < MaxCodeSize)
                        ++m_codeSize;
                }
                m_previous = code;
            }
            if (m_pixels > m_maxPixels)
                return false;
        }
        return true;
    }

private:
    static constexpr int MaxCodeSize = 12;
    static constexpr int TableSize = 1 << MaxCodeSize;

    void restart()
    {
        m_codeSize = m_codeSizeAtClear;
        m_next = m_clear + 2;
        m_needFirst = true;
    }

    const int m_clear;
    const int m_codeSizeAtClear;
    const qint64 m_maxPixels;
    // How many pixels each entry of the table stands for.
    std::array<qint32, TableSize> m_length;
    int m_codeSize = 0;
    int m_next = 0;
    int m_previous = 0;
    bool m_needFirst = true;
    bool m_ended = false;
    quint32 m_bits = 0;
    int m_bitCount = 0;
    qint64 m_pixels = 0;
};

// Data sub-blocks: a length byte, that many bytes, until a length of 0.
bool skipSubBlocks(ByteCursor &cursor)
{
    for (std::optional<int> length = cursor.byte(); length; length = cursor.byte()) {
        if (*length == 0)
            return true;
        if (!cursor.skip(*length))
            return false;
    }
    return false;
}

// The GIF's blocks as Qt's decoder reads them, up to the end of its first frame's data.
bool gifIsAffordable(QByteArrayView bytes)
{
    ByteCursor cursor(bytes);
    cursor.skip(6);
    const std::optional<int> screenWidth = cursor.littleEndian16();
    const std::optional<int> screenHeight = cursor.littleEndian16();
    const std::optional<int> screenFlags = cursor.byte();
    if (!screenWidth || !screenHeight || !screenFlags || !cursor.skip(2))
        return false;
    if ((*screenFlags & 0x80) && !cursor.skip(3 * (2 << (*screenFlags & 0x07))))
        return false;
    for (std::optional<int> introducer = cursor.byte(); introducer; introducer = cursor.byte()) {
        if (*introducer == '!') {
            const std::optional<int> label = cursor.byte();
            if (!label)
                return false;
            // Qt reads the first block of a graphic control or application extension by its
            // length byte even when that is 0, and only then looks for the terminator.
            if (*label == 0xF9 || *label == 0xFF) {
                const std::optional<int> length = cursor.byte();
                if (!length || !cursor.skip(*length))
                    return false;
            }
            if (!skipSubBlocks(cursor))
                return false;
            continue;
        }
        if (*introducer != ',')
            return false;
        const std::optional<int> left = cursor.littleEndian16();
        const std::optional<int> top = cursor.littleEndian16();
        const std::optional<int> width = cursor.littleEndian16();
        const std::optional<int> height = cursor.littleEndian16();
        const std::optional<int> frameFlags = cursor.byte();
        if (!left || !top || !width || !height || !frameFlags ||
            !withinBounds(QSize(*width, *height)))
            return false;
        if ((*frameFlags & 0x80) && !cursor.skip(3 * (2 << (*frameFlags & 0x07))))
            return false;
        // Qt allocates the whole logical screen; an empty one becomes the frame's extent.
        const int screenWidthUsed = *screenWidth > 0 ? *screenWidth : *left + *width;
        const int screenHeightUsed = *screenHeight > 0 ? *screenHeight : *top + *height;
        if (!withinBounds(QSize(screenWidthUsed, screenHeightUsed)))
            return false;
        // Two to eight bits are what GIF knows; Qt's decoder takes up to twelve.
        const std::optional<int> minCodeSize = cursor.byte();
        if (!minCodeSize || *minCodeSize < 2 || *minCodeSize > 8)
            return false;
        const qint64 area = qint64(*width) * *height;
        const qint64 maxData =
            area * PictureDecoder::MaxGifBytesPerPixel + PictureDecoder::MaxGifExcessBytes;
        LzwWalk codes(*minCodeSize, area + PictureDecoder::MaxGifExcessPixels);
        qint64 data = 0;
        for (std::optional<int> length = cursor.byte(); length && *length > 0;
             length = cursor.byte()) {
            data += *length;
            if (data > maxData)
                return false;
            const qsizetype present = qMin<qsizetype>(*length, cursor.remaining());
            for (qsizetype at = 0; at < present; ++at) {
                if (!codes.feed(*cursor.byte()))
                    return false;
            }
            // Cut short: Qt decodes what there is.
            if (present < *length)
                break;
        }
        return true;
    }
    // No frame: nothing to decode.
    return false;
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

bool PictureDecoder::isAffordable(QByteArrayView bytes)
{
    const QByteArray format = formatOf(bytes.first(qMin(bytes.size(), SignatureLength)));
    if (format == "jpeg")
        return jpegIsAffordable(bytes);
    if (format == "gif")
        return gifIsAffordable(bytes);
    // Qt's BMP reader is linear in the pixels, which the size bounds cap, and in the bytes: a
    // run-length command of two bytes writes at most 255 pixels.
    return format == "bmp";
}

QImage PictureDecoder::fromBytes(const QByteArray &bytes)
{
    const QByteArray format = formatOf(bytes.first(qMin(bytes.size(), SignatureLength)));
    if (format.isEmpty() || !isAffordable(bytes))
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    // The format is settled; the reader is not to guess another one, nor to wake the plugins
    // of formats the banner never shows.
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(AllocationLimitMiB);

    // The GIF's sizes were checked on the way to its first frame; Qt's reader would read every
    // frame to tell them.
    if (format != "gif" && !withinBounds(reader.size()))
        return {};

    // An animated GIF shows its first frame, as a still picture. What comes out must keep to
    // the bounds as well.
    QImage picture;
    if (!reader.read(&picture) || !withinBounds(picture.size()))
        return {};
    return picture;
}

QImage PictureDecoder::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const qint64 maxBytes = FetchLimits::forPicture().maxBytes;
    const QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes)
        return {};
    return fromBytes(bytes);
}

} // namespace tarvell
