#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QSize>

namespace tarvell::test {

// Pictures made on the spot, so that no test depends on a file it did not write.
class TestPictures
{
public:
    static constexpr QSize BannerSize{468, 60};

    // A plain picture of one colour, encoded in the given format ("JPEG", "PNG", "BMP", "GIF").
    static QByteArray encoded(const QColor &colour, QSize size = BannerSize,
                              const char *format = "JPEG");
    // A GIF of one plain frame per colour, all of the given size. Qt reads GIF but cannot write
    // it, so it is put together here, uncompressed.
    static QByteArray gif(const QList<QColor> &frames, QSize size = BannerSize);
    // A valid JPEG, BMP or GIF whose header claims another size: decoding it as announced would
    // allocate width x height pixels from a few hundred bytes.
    static QByteArray announcing(const char *format, int width, int height);
    // A progressive JPEG of one colour as Qt writes it (libjpeg's usual script: ten scans), its
    // last scan repeated until there are `scans`; fewer keep the script as it is. Each copy is
    // a dozen bytes, and each makes the decoder go over every coefficient once more.
    static QByteArray progressiveJpeg(const QColor &colour, QSize size = BannerSize, int scans = 0);
    // A GIF of one frame whose LZW codes each stand for a string one longer than the last, then
    // the longest the table holds over and over, until they make `pixels` pixels: a byte of them
    // makes up to 2,700, all but the frame's own written past its end, and each costs the decoder.
    static QByteArray expandingGif(QSize size, qint64 pixels);
    // A GIF of one frame whose data is `codes` clear codes (each leaves the table as it was)
    // after the frame's pixels: far more data than the frame's area can need.
    static QByteArray clearingGif(QSize size, qint64 codes);
    // A GIF of `frames` frames of one pixel each on a screen of the given size.
    static QByteArray manyFramesGif(QSize size, int frames);
    // Whether the picture is, give or take JPEG's losses, one plain colour.
    static bool isPlain(const QImage &picture, const QColor &colour);
};

} // namespace tarvell::test
