#include "banner/linkpolicy.h"

#include "banner/weburl.h"

#include <algorithm>

namespace tarvell {

namespace {

bool isPlainPrintable(const QString &text)
{
    const QList<uint> codePoints = text.toUcs4();
    return std::all_of(codePoints.cbegin(), codePoints.cend(), [](uint c) {
        // Controls and format marks (such as a right-to-left override) can make an address
        // look like another one.
        return QChar::isPrint(char32_t(c)) && !QChar::isSpace(char32_t(c));
    });
}

} // namespace

std::optional<QUrl> LinkPolicy::linkTarget(const QString &pageText)
{
    const QString text = pageText.trimmed();
    if (text.isEmpty() || text.size() > MaxLength || !isPlainPrintable(text))
        return std::nullopt;

    const QUrl url(text, QUrl::StrictMode);
    // Requiring the scheme also rules out relative addresses such as "--help".
    if (!url.isValid() || !isWebAddress(url))
        return std::nullopt;
    // "http://@host" has an empty user info yet still an '@' in its authority.
    if (url.authority().contains(u'@'))
        return std::nullopt;
    return url;
}

} // namespace tarvell
