// Server bytes -> the answer parser, fed once whole and once in pieces the input picks.
// Input: one byte for the body cap, two for the split, then what the server sends.

#include "banner/httpresponse.h"

#include <QByteArrayView>

#include <cstdint>
#include <cstdlib>

namespace {

using tarvell::HttpResponse;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// What holds after any input, however it came.
void checkBounds(const HttpResponse &response, qint64 cap)
{
    check(response.body().size() <= cap);
    check(response.headers().size() <= HttpResponse::MaxHeaderLines);
    for (const auto &[name, value] : response.headers())
        check(!name.isEmpty() && name.size() + value.size() < HttpResponse::MaxLineBytes);
    if (response.state() == HttpResponse::State::Failed)
        check(response.body().isEmpty());
    if (response.hasHead())
        check(response.status() >= 200 && response.status() <= 599);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return -1;
    const qint64 cap = qint64(64) << (data[0] % 14);
    std::uint32_t seed = (std::uint32_t(data[1]) << 8) | data[2] | 1;
    const QByteArrayView input(reinterpret_cast<const char *>(data + 3), qsizetype(size - 3));

    HttpResponse whole(cap);
    whole.feed(input);
    checkBounds(whole, cap);
    const HttpResponse::State beforeEnd = whole.state();
    whole.finish();
    checkBounds(whole, cap);
    // Once over, an answer stays as it was.
    if (beforeEnd == HttpResponse::State::Done || beforeEnd == HttpResponse::State::Failed)
        check(whole.state() == beforeEnd);

    HttpResponse pieces(cap);
    for (qsizetype at = 0; at < input.size();) {
        // xorshift: pieces of 1 to 256 bytes, the same for the same input.
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        const qsizetype piece = qMin<qsizetype>(1 + seed % 256, input.size() - at);
        pieces.feed(input.sliced(at, piece));
        checkBounds(pieces, cap);
        at += piece;
    }
    pieces.finish();
    check(pieces.state() == whole.state());
    check(pieces.status() == whole.status() || !whole.hasHead());
    check(pieces.body() == whole.body());
    check(pieces.headers() == whole.headers() || !whole.hasHead());
    return 0;
}
