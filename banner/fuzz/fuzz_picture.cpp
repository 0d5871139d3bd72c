// Picture bytes -> LoadPicture's decoding: as fetched (JPEG only) and as a local file (any
// format Qt reads).

#include "banner/fetchlimits.h"
#include "banner/picturedecoder.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QLoggingCategory>

#include <cstdint>
#include <cstdlib>

using tarvell::PictureDecoder;

namespace {

void checkBounds(const QImage &picture)
{
    // A picture that comes out is never bigger than the decoder lets it be.
    if (!picture.isNull() &&
        (picture.width() > PictureDecoder::MaxSide || picture.height() > PictureDecoder::MaxSide ||
         qint64(picture.width()) * picture.height() > PictureDecoder::MaxPixels))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Broken input is the point here; Qt's complaints about it only slow the run down.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false\nqt.text.*=false"));
    static int argc = 1;
    static char name[] = "fuzz_picture";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    // A larger picture is never read to the end.
    if (bytes.size() > tarvell::FetchLimits::forPicture().maxBytes)
        return -1;

    checkBounds(PictureDecoder::fromJpeg(bytes));

    QBuffer file;
    file.setData(bytes);
    if (file.open(QIODevice::ReadOnly))
        checkBounds(PictureDecoder::fromDevice(&file, QByteArray()));
    return 0;
}
