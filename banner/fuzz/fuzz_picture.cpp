// Picture bytes -> LoadPicture's decoding, as fetched or read from a file: JPEG, GIF and BMP told
// by their first bytes, everything else refused.

#include "banner/fetchlimits.h"
#include "banner/fuzz/fuzzsetup.h"
#include "banner/picturedecoder.h"

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
    tarvell::fuzz::startApplication("fuzz_picture");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = tarvell::fuzz::inputBytes(data, size);
    // A larger picture is never read to the end.
    if (bytes.size() > tarvell::FetchLimits::forPicture().maxBytes)
        return -1;

    const QImage picture = PictureDecoder::fromBytes(bytes);
    checkBounds(picture);
    // Only the three formats ever make a picture, whatever another decoder would make of it.
    if (!picture.isNull() && PictureDecoder::formatOf(bytes).isEmpty())
        std::abort();
    return 0;
}
