// Writes small pictures of each format that a banner picture may come in, and of a few that it
// may not, as seeds for fuzz_picture. Usage: fuzz_picture_seeds <directory>

#include "banner/tests/testpictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

using tarvell::test::TestPictures;

namespace {

bool write(const QDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2 || !QDir().mkpath(QString::fromLocal8Bit(argv[1])))
        return 1;
    const QDir dir(QString::fromLocal8Bit(argv[1]));

    QImage banner(48, 6, QImage::Format_ARGB32);
    banner.fill(Qt::transparent);
    QPainter painter(&banner);
    painter.fillRect(0, 0, 24, 6, Qt::red);
    painter.fillRect(24, 0, 24, 3, QColor(0, 128, 255, 128));
    painter.end();

    bool ok = true;
    ok &= banner.save(dir.filePath(QStringLiteral("banner.jpg")), "JPEG", 75);
    ok &= banner.save(dir.filePath(QStringLiteral("banner-q10.jpg")), "JPEG", 10);
    ok &= banner.convertToFormat(QImage::Format_Grayscale8)
              .save(dir.filePath(QStringLiteral("grey.jpg")), "JPEG");
    // The depths a BMP header can name, each with its own row layout and palette.
    ok &= banner.save(dir.filePath(QStringLiteral("banner-32.bmp")), "BMP");
    ok &= banner.convertToFormat(QImage::Format_RGB888)
              .save(dir.filePath(QStringLiteral("banner-24.bmp")), "BMP");
    ok &= banner.convertToFormat(QImage::Format_Indexed8)
              .save(dir.filePath(QStringLiteral("banner-8.bmp")), "BMP");
    ok &= banner.convertToFormat(QImage::Format_Mono)
              .save(dir.filePath(QStringLiteral("banner-1.bmp")), "BMP");
    ok &= write(dir, QStringLiteral("banner.gif"), TestPictures::gif({Qt::red}, QSize(12, 3)));
    ok &= write(dir, QStringLiteral("animated.gif"),
                TestPictures::gif({Qt::red, Qt::green, Qt::blue}, QSize(5, 4)));
    // Progressive scans, and the work bounds' edges: many scans, LZW codes that expand past
    // the frame, clear codes without end, many frames. Small, to fit the run's length limit.
    ok &= write(dir, QStringLiteral("progressive.jpg"),
                TestPictures::progressiveJpeg(Qt::red, QSize(48, 6)));
    ok &= write(dir, QStringLiteral("many-scans.jpg"),
                TestPictures::progressiveJpeg(Qt::red, QSize(48, 6), 40));
    ok &= write(dir, QStringLiteral("expanding.gif"),
                TestPictures::expandingGif(QSize(12, 3), 100000));
    ok &=
        write(dir, QStringLiteral("clearing.gif"), TestPictures::clearingGif(QSize(12, 3), 20000));
    ok &= write(dir, QStringLiteral("many-frames.gif"),
                TestPictures::manyFramesGif(QSize(48, 6), 200));
    // Refused whole, but their bytes give the mutations other structures to start from.
    ok &= banner.save(dir.filePath(QStringLiteral("banner.png")), "PNG");
    ok &= banner.save(dir.filePath(QStringLiteral("banner.ppm")), "PPM");
    return ok ? 0 : 1;
}
