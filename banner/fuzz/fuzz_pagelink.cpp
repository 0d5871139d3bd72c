// Page bytes -> the text a reader sees -> the link decision, as a banner click makes it.
// Input: the Content-Type header on the first line, the page body after it.

#include "banner/fetchlimits.h"
#include "banner/fuzz/fuzzsetup.h"
#include "banner/hiddenpage.h"
#include "banner/linkpolicy.h"
#include "banner/weburl.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    tarvell::fuzz::startApplication("fuzz_pagelink");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input = tarvell::fuzz::inputBytes(data, size);
    const qsizetype newline = input.indexOf('\n');
    const QByteArray contentType = newline < 0 ? QByteArray() : input.left(newline);
    const QByteArray body = newline < 0 ? input : input.mid(newline + 1);
    // A longer page is never read to the end.
    if (body.size() > tarvell::FetchLimits::forPage().maxBytes)
        return -1;

    const QString text = tarvell::HiddenPage::readableText(body, contentType);
    const std::optional<QUrl> target = tarvell::LinkPolicy::linkTarget(text);
    if (!target)
        return 0;

    // Whatever the page held, only a plain web address may come out.
    if (!target->isValid() || !tarvell::isWebAddress(*target) || !target->userInfo().isEmpty() ||
        target->toString().size() > tarvell::LinkPolicy::MaxLength)
        std::abort();
    return 0;
}
