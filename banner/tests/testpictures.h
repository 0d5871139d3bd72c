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
    // Whether the picture is, give or take JPEG's losses, one plain colour.
    static bool isPlain(const QImage &picture, const QColor &colour);
};

} // namespace tarvell::test
