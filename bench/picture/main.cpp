// What a banner picture costs to decode: for benign pictures, for the worst that the decoder's
// work bounds still accept, and for hostile ones that they refuse. Per picture: the bound
// check alone, PictureDecoder::fromBytes (check and decode), and Qt's reader alone as it
// would have decoded the picture without the check. Then how long a PictureLoader takes to go
// while it decodes the worst accepted picture, as when the window closes.
//
// Usage: bench_picture [--rounds N] [--all]  (--all also times Qt alone on the hostile
// pictures that take it many seconds)

#include "banner/networkaccess.h"
#include "banner/picturedecoder.h"
#include "banner/pictureloader.h"
#include "banner/tests/testpictures.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using tarvell::NetworkAccess;
using tarvell::PictureDecoder;
using tarvell::PictureLoader;
using tarvell::test::TestPictures;

namespace {

struct Case
{
    const char *name;
    QByteArray bytes;
    // Qt alone takes seconds on it: timed only with --all.
    bool slowAlone = false;
};

double medianMs(int rounds, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QImage qtAlone(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, PictureDecoder::formatOf(bytes));
    reader.setAllocationLimit(PictureDecoder::AllocationLimitMiB);
    return reader.read();
}

// The largest number of scans of the given kind that fits a fetched picture.
QByteArray mostScans(QSize size)
{
    const QByteArray ten = TestPictures::progressiveJpeg(Qt::red, size);
    const QByteArray eleven = TestPictures::progressiveJpeg(Qt::red, size, 11);
    const qsizetype perScan = eleven.size() - ten.size();
    return TestPictures::progressiveJpeg(Qt::red, size,
                                         10 + int((512 * 1024 - ten.size()) / perScan));
}

// Noise, progressive, at the best quality that still fits a fetched picture: every scan full of
// coefficients, as much entropy-coded data as a picture can bring.
QByteArray noisyProgressiveJpeg(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    QRandomGenerator random(1);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = 0xFF000000u | random.bounded(0x1000000u);
    }
    for (int quality = 90; quality > 0; quality -= 10) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setProgressiveScanWrite(true);
        writer.setQuality(quality);
        if (writer.write(picture) && bytes.size() <= 512 * 1024)
            return bytes;
    }
    return {};
}

// An 8-bit run-length BMP of runs of 255 pixels, as many as fit a fetched picture: Qt lets a
// row's runs go on into the rows after it, so every two bytes write 255 pixels.
QByteArray runLengthBmp(QSize size)
{
    auto put32 = [](QByteArray &out, quint32 value) {
        for (int shift = 0; shift < 32; shift += 8)
            out += char((value >> shift) & 0xFF);
    };
    QByteArray data;
    const qsizetype room = 512 * 1024 - 14 - 40 - 256 * 4;
    for (int row = 0; row < size.height() && data.size() < room - 2; ++row) {
        const qint64 runs = (qint64(row) + 1) * size.width() / 255;
        for (qint64 run = 0; run < runs && data.size() < room - 2; ++run)
            data += QByteArray("\xFF\x01", 2);
        data += QByteArray("\x00\x00", 2);
    }
    data += QByteArray("\x00\x01", 2);
    QByteArray out("BM");
    put32(out, quint32(14 + 40 + 256 * 4 + data.size()));
    put32(out, 0);
    put32(out, 14 + 40 + 256 * 4);
    put32(out, 40);
    put32(out, quint32(size.width()));
    put32(out, quint32(size.height()));
    put32(out, 1 | (8 << 16));
    put32(out, 1);
    put32(out, quint32(data.size()));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 256);
    put32(out, 0);
    for (int colour = 0; colour < 256; ++colour)
        put32(out, quint32(colour * 0x010101));
    return out + data;
}

// Qt's own size query on a GIF, which walks every frame.
double gifSizeQueryMs(const QByteArray &bytes, int rounds)
{
    return medianMs(rounds, [&] {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader(&buffer, "gif").size();
    });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"rounds", "Measured rounds per figure (median).", "N", "9"});
    parser.addOption({"all", "Also time Qt alone on the pictures that take it seconds."});
    parser.process(app);
    const int rounds = qMax(1, parser.value("rounds").toInt());
    const bool all = parser.isSet("all");
    // The hostile scans make libjpeg warn about each of them.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.jpeg=false"));

    const QSize banner = TestPictures::BannerSize;
    const QSize largest(2048, 1024);
    const std::vector<Case> cases = {
        {"benign: JPEG 468x60", TestPictures::encoded(Qt::red)},
        {"benign: progressive JPEG 468x60, 10 scans", TestPictures::progressiveJpeg(Qt::red)},
        {"benign: GIF 468x60", TestPictures::encoded(Qt::red, banner, "GIF")},
        {"worst accepted: progressive JPEG 2048x1024, 10 scans",
         TestPictures::progressiveJpeg(Qt::red, largest)},
        {"worst accepted: noisy progressive JPEG 2048x1024, 10 scans",
         noisyProgressiveJpeg(largest)},
        {"worst accepted: JPEG 468x60, 32 scans",
         TestPictures::progressiveJpeg(Qt::red, banner, 32)},
        {"worst accepted: GIF 2048x1024, codes making its area",
         TestPictures::expandingGif(largest, largest.width() * largest.height())},
        {"worst accepted: BMP 2048x1024 RLE8, 255-pixel runs", runLengthBmp(largest)},
        {"refused: progressive JPEG 2048x1024, most scans in 512 KiB", mostScans(largest), true},
        {"refused: progressive JPEG 468x60, most scans in 512 KiB", mostScans(banner), true},
        {"refused: progressive JPEG 2048x1024, 11 scans",
         TestPictures::progressiveJpeg(Qt::red, largest, 11)},
        {"refused: GIF 468x60, codes making 100 M pixels",
         TestPictures::expandingGif(banner, 100e6)},
        {"refused: GIF 468x60, codes making 700 M pixels (512 KiB)",
         TestPictures::expandingGif(banner, 700e6), true},
        {"refused: GIF 468x60 + 1.3 M clear codes", TestPictures::clearingGif(banner, 1300000)},
        {"accepted: GIF 4096x512 screen, 35,000 one-pixel frames",
         TestPictures::manyFramesGif(QSize(4096, 512), 35000)},
    };

    std::printf("%-62s %8s %9s %10s %12s %12s\n", "picture", "KiB", "accepted", "check ms",
                "fromBytes ms", "Qt alone ms");
    for (const Case &each : cases) {
        bool accepted = false;
        const double check =
            medianMs(rounds, [&] { accepted = PictureDecoder::isAffordable(each.bytes); });
        const double decode = medianMs(rounds, [&] { PictureDecoder::fromBytes(each.bytes); });
        const bool shown = !PictureDecoder::fromBytes(each.bytes).isNull();
        double alone = -1;
        if (!each.slowAlone || all)
            alone = medianMs(each.slowAlone ? 1 : rounds, [&] { qtAlone(each.bytes); });
        std::printf("%-62s %8.1f %9s %10.3f %12.3f %12s\n", each.name, each.bytes.size() / 1024.0,
                    accepted ? (shown ? "yes" : "checked") : "no", check, decode,
                    alone < 0 ? "(--all)" : qPrintable(QString::number(alone, 'f', 1)));
    }

    std::printf("\nQt's size query on the GIF of 35,000 frames (not asked by the decoder): "
                "%.2f ms\n",
                gifSizeQueryMs(TestPictures::manyFramesGif(QSize(4096, 512), 35000), rounds));

    // Going while the worst accepted picture decodes: the loader waits for that one decoding.
    QTemporaryDir dir;
    const QString path = dir.filePath("worst.jpg");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(noisyProgressiveJpeg(largest)) <= 0)
        return 1;
    file.close();
    NetworkAccess network;
    double worstMs = 0;
    for (int round = 0; round < rounds; ++round) {
        auto *loader = new PictureLoader(&network);
        loader->LoadPicture(path);
        // Into the decoding, which takes a few tens of ms.
        QThread::msleep(5);
        QElapsedTimer timer;
        timer.start();
        delete loader;
        worstMs = std::max(worstMs, double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("\nPictureLoader destroyed 5 ms into the worst accepted decode: at most %.1f ms "
                "(%d rounds)\n",
                worstMs, rounds);
    return 0;
}
