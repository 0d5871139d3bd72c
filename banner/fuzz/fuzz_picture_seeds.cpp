// Writes small pictures of each format that a banner picture may come in, as seeds for
// fuzz_picture. Usage: fuzz_picture_seeds <directory>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

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
    for (const char *format : {"PNG", "GIF", "BMP", "ICO", "PPM", "XPM", "XBM"}) {
        // Formats this Qt cannot write are left out; any one written is enough to start from.
        banner.save(dir.filePath(QStringLiteral("banner.") + QString::fromLatin1(format).toLower()),
                    format);
    }
    return ok ? 0 : 1;
}
