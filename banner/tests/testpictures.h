#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>

namespace tarvell::test {

// Pictures made on the spot, so that no test depends on a file it did not write.
class TestPictures
{
public:
    static constexpr QSize BannerSize{468, 60};

    // A plain picture of one colour, encoded in the given format ("JPEG", "PNG").
    static QByteArray encoded(const QColor &colour, QSize size = BannerSize,
                              const char *format = "JPEG");
    // A valid JPEG whose header claims another size: decoding it as announced would allocate
    // width x height pixels from a few hundred bytes.
    static QByteArray jpegAnnouncing(int width, int height);
    // Whether the picture is, give or take JPEG's losses, one plain colour.
    static bool isPlain(const QImage &picture, const QColor &colour);
};

} // namespace tarvell::test
