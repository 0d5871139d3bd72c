// The committed artwork under ui/resources: byte layouts the UI and other readers rely on, that
// the pictures decode, and that the embedded copies are the same files.
#include "ui/handpointer.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QTest>
#include <QtEndian>

#include <cstring>

namespace {

constexpr int kTeams = 30;
using tarvell::kHandHotSpot;

QString onDisk(const QString &relative)
{
    return QStringLiteral(TARVELL_RESOURCE_DIR "/") + relative;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint16 u16(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 u32(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

qint32 i32(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<qint32>(b.constData() + at);
}

int stride(int width, int bpp)
{
    return (width * bpp + 31) / 32 * 4;
}

int distinctColours(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    }
    return int(colours.size());
}

// One image of an ICO file, located through its directory entry.
struct IconImage
{
    int width = 0;
    int bpp = 0;
    qsizetype header = 0; // offset of the BITMAPINFOHEADER
    qsizetype xorBits = 0;
    qsizetype andBits = 0;
};

IconImage iconImage(const QByteArray &ico, int index)
{
    const qsizetype entry = 6 + 16 * index;
    IconImage img;
    img.width = quint8(ico.at(entry));
    img.bpp = u16(ico, entry + 6);
    img.header = u32(ico, entry + 12);
    const int paletteBytes = img.bpp <= 8 ? 4 << img.bpp : 0;
    img.xorBits = img.header + 40 + paletteBytes;
    img.andBits = img.xorBits + qsizetype(stride(img.width, img.bpp)) * img.width;
    return img;
}

bool masked(const QByteArray &ico, const IconImage &img, int x, int y)
{
    const qsizetype row = img.andBits + qsizetype(stride(img.width, 1)) * (img.width - 1 - y);
    return quint8(ico.at(row + x / 8)) & (0x80 >> (x % 8));
}

// The XOR colour of a pixel, palette resolved.
QRgb xorColour(const QByteArray &ico, const IconImage &img, int x, int y)
{
    const qsizetype row = img.xorBits + qsizetype(stride(img.width, img.bpp)) * (img.width - 1 - y);
    qsizetype at = row + x * 3;
    if (img.bpp == 4) {
        const quint8 pair = quint8(ico.at(row + x / 2));
        const int index = x % 2 == 0 ? pair >> 4 : pair & 0x0f;
        at = img.header + 40 + index * 4;
    }
    return qRgb(quint8(ico.at(at + 2)), quint8(ico.at(at + 1)), quint8(ico.at(at)));
}

} // namespace

class TestArtwork : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bitmaps_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("fileSize");
        QTest::addColumn<bool>("whiteCorners");
        for (int id = 1; id <= kTeams; ++id) {
            const QString file = QStringLiteral("logos/%1.bmp").arg(id);
            QTest::newRow(qPrintable(file)) << file << 128 << 128 << 49206 << true;
        }
        QTest::newRow("banner") << QStringLiteral("banner.bmp") << 468 << 60 << 84294 << false;
    }

    void bitmaps()
    {
        QFETCH(QString, file);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, fileSize);
        QFETCH(bool, whiteCorners);

        const QByteArray bmp = readAll(onDisk(file));
        QCOMPARE(bmp.size(), fileSize);
        const int rowBytes = stride(width, 24);

        QCOMPARE(bmp.left(2), QByteArray("BM"));
        QCOMPARE(u32(bmp, 2), quint32(fileSize));
        QCOMPARE(u32(bmp, 6), 0u);
        QCOMPARE(u32(bmp, 10), 54u);
        QCOMPARE(u32(bmp, 14), 40u);
        QCOMPARE(i32(bmp, 18), width);
        QCOMPARE(i32(bmp, 22), height); // positive: bottom-up rows
        QCOMPARE(u16(bmp, 26), quint16(1));
        QCOMPARE(u16(bmp, 28), quint16(24));
        QCOMPARE(u32(bmp, 30), 0u); // BI_RGB
        QCOMPARE(u32(bmp, 34), quint32(rowBytes * height));
        QCOMPARE(i32(bmp, 38), 3780);
        QCOMPARE(i32(bmp, 42), 3780);
        QCOMPARE(u32(bmp, 46), 0u);
        QCOMPARE(u32(bmp, 50), 0u);

        const QImage image = QImage::fromData(bmp, "BMP");
        QCOMPARE(image.size(), QSize(width, height));
        // A blank or single-colour picture would still pass every header check.
        QVERIFY(distinctColours(image) >= 16);

        if (whiteCorners) {
            for (const QPoint &corner : {QPoint(0, 0), QPoint(width - 1, 0), QPoint(0, height - 1),
                                         QPoint(width - 1, height - 1)}) {
                QCOMPARE(image.pixel(corner), qRgb(255, 255, 255));
            }
        }
    }

    void logosAreDistinct()
    {
        QList<QByteArray> pixels;
        for (int id = 1; id <= kTeams; ++id)
            pixels << readAll(onDisk(QStringLiteral("logos/%1.bmp").arg(id))).mid(54);
        for (int a = 0; a < kTeams; ++a) {
            QCOMPARE(pixels[a].size(), 49152);
            for (int b = a + 1; b < kTeams; ++b) {
                // Differing in a tenth of the pixels rules out near-copies, not just exact ones.
                int differing = 0;
                for (qsizetype i = 0; i < pixels[a].size(); i += 3)
                    differing +=
                        std::memcmp(pixels[a].constData() + i, pixels[b].constData() + i, 3) != 0;
                QVERIFY2(
                    differing > 128 * 128 / 10,
                    qPrintable(
                        QStringLiteral("logos %1 and %2 are near copies").arg(a + 1).arg(b + 1)));
            }
        }
    }

    void noLogoOutsideTheLeague_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("0") << QStringLiteral("logos/0.bmp");
        QTest::newRow("31") << QStringLiteral("logos/31.bmp");
    }

    void noLogoOutsideTheLeague()
    {
        QFETCH(QString, file);
        QVERIFY(!QFile::exists(onDisk(file)));
    }

    void icons_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("fileSize");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("bpp");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("offset");
        QTest::addColumn<bool>("blackAndWhite");
        QTest::newRow("program 32")
            << QStringLiteral("tarvell.ico") << 3262 << 1 << 0 << 32 << 24 << 3240 << 22 << false;
        QTest::newRow("hand 32") << QStringLiteral("hand.ico") << 1078 << 2 << 0 << 32 << 4 << 744
                                 << 38 << true;
        QTest::newRow("hand 16") << QStringLiteral("hand.ico") << 1078 << 2 << 1 << 16 << 4 << 296
                                 << 782 << true;
    }

    void icons()
    {
        QFETCH(QString, file);
        QFETCH(int, fileSize);
        QFETCH(int, count);
        QFETCH(int, index);
        QFETCH(int, width);
        QFETCH(int, bpp);
        QFETCH(int, bytes);
        QFETCH(int, offset);
        QFETCH(bool, blackAndWhite);

        const QByteArray ico = readAll(onDisk(file));
        QCOMPARE(ico.size(), fileSize);
        QCOMPARE(u16(ico, 0), quint16(0));
        QCOMPARE(u16(ico, 2), quint16(1)); // icon
        QCOMPARE(u16(ico, 4), quint16(count));

        const qsizetype entry = 6 + 16 * index;
        QCOMPARE(int(quint8(ico.at(entry))), width);
        QCOMPARE(int(quint8(ico.at(entry + 1))), width);
        QCOMPARE(int(quint8(ico.at(entry + 2))), bpp == 4 ? 16 : 0);
        QCOMPARE(u16(ico, entry + 4), quint16(1));
        QCOMPARE(u16(ico, entry + 6), quint16(bpp));
        QCOMPARE(u32(ico, entry + 8), quint32(bytes));
        QCOMPARE(u32(ico, entry + 12), quint32(offset));

        QCOMPARE(u32(ico, offset), 40u);
        QCOMPARE(i32(ico, offset + 4), width);
        QCOMPARE(i32(ico, offset + 8), width * 2); // XOR image plus AND mask
        QCOMPARE(u16(ico, offset + 12), quint16(1));
        QCOMPARE(u16(ico, offset + 14), quint16(bpp));
        QCOMPARE(u32(ico, offset + 16), 0u);

        const IconImage img = iconImage(ico, index);
        QCOMPARE(img.andBits + stride(width, 1) * width, qsizetype(offset + bytes));

        int opaque = 0;
        for (int y = 0; y < width; ++y) {
            for (int x = 0; x < width; ++x) {
                const QRgb colour = xorColour(ico, img, x, y);
                if (masked(ico, img, x, y)) {
                    // Black under the mask leaves the screen untouched.
                    QCOMPARE(colour, qRgb(0, 0, 0));
                    continue;
                }
                ++opaque;
                if (blackAndWhite)
                    QVERIFY(colour == qRgb(0, 0, 0) || colour == qRgb(255, 255, 255));
            }
        }
        QVERIFY(masked(ico, img, 0, 0));
        QVERIFY(opaque > width * width / 5);
        QVERIFY(opaque < width * width);

        QImageReader reader(onDisk(file));
        QCOMPARE(reader.imageCount(), count);
        QVERIFY(reader.jumpToImage(index));
        const QImage decoded = reader.read();
        QVERIFY2(!decoded.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(decoded.size(), QSize(width, width));
    }

    // The window icon and the desktop's 32 px icon must show the same picture.
    void programIconMatchesDesktopIcon()
    {
        const QByteArray ico = readAll(onDisk(QStringLiteral("tarvell.ico")));
        QCOMPARE(ico.size(), 3262);
        const IconImage img = iconImage(ico, 0);
        const QImage png =
            QImage(onDisk(QStringLiteral("icons/32.png"))).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(png.size(), QSize(32, 32));
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QRgb want = png.pixel(x, y);
                QCOMPARE(masked(ico, img, x, y), qAlpha(want) < 128);
                if (qAlpha(want) >= 128)
                    QCOMPARE(xorColour(ico, img, x, y), want | 0xff000000);
            }
        }
    }

    void handPointsDownAtHotSpot()
    {
        QImageReader reader(onDisk(QStringLiteral("hand.ico")));
        const QImage hand = reader.read().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(hand.size(), QSize(32, 32));
        QCOMPARE(qAlpha(hand.pixel(kHandHotSpot)), 255);
        // Nothing below the fingertip, and the lowest rows are a finger, not the whole hand.
        for (int y = kHandHotSpot.y() + 1; y < 32; ++y) {
            for (int x = 0; x < 32; ++x)
                QCOMPARE(qAlpha(hand.pixel(x, y)), 0);
        }
        for (int y = kHandHotSpot.y() - 6; y <= kHandHotSpot.y(); ++y) {
            for (int x = 0; x < 32; ++x) {
                if (qAlpha(hand.pixel(x, y)) != 0)
                    QVERIFY(qAbs(x - kHandHotSpot.x()) <= 3);
            }
        }
    }

    void desktopIcons_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {32, 48, 64, 128, 256})
            QTest::newRow(qPrintable(QString::number(size))) << size;
    }

    void desktopIcons()
    {
        QFETCH(int, size);
        const QString path = onDisk(QStringLiteral("icons/%1.png").arg(size));
        QCOMPARE(readAll(path).left(8), QByteArray("\x89PNG\r\n\x1a\n"));
        const QImage icon = QImage(path).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(icon.size(), QSize(size, size));
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(icon.pixel(size / 2, size / 2)), 255);
    }

    void embeddedCopies_data()
    {
        if (!QFile::exists(QStringLiteral(":/banner.bmp")))
            QSKIP("artwork is not embedded in this binary (link against tarvell_ui)");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        for (int id = 1; id <= kTeams; ++id) {
            const QString file = QStringLiteral("logos/%1.bmp").arg(id);
            QTest::newRow(qPrintable(file)) << file << QSize(128, 128);
        }
        QTest::newRow("tarvell.ico") << QStringLiteral("tarvell.ico") << QSize(32, 32);
        QTest::newRow("banner.bmp") << QStringLiteral("banner.bmp") << QSize(468, 60);
        QTest::newRow("hand.ico") << QStringLiteral("hand.ico") << QSize(32, 32);
    }

    void embeddedCopies()
    {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        const QString embedded = QStringLiteral(":/") + file;
        const QByteArray bytes = readAll(embedded);
        QVERIFY(!bytes.isEmpty());
        QCOMPARE(bytes, readAll(onDisk(file)));
        QCOMPARE(QImage(embedded).size(), size);
    }
};

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
