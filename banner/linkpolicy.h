#pragma once

#include <QUrl>

#include <optional>

namespace tarvell {

// Decides whether the hidden page's text may be opened as the banner's link. The page comes
// from the network, so its text is handed on only when it is one plain web address: the
// desktop's opener would otherwise take "--help" as an option, or run file:, javascript: and
// custom schemes.
class LinkPolicy
{
public:
    // Longer than any sane link, short enough that nothing is made of a flood.
    static constexpr qsizetype MaxLength = 2048;

    // The address to open, or nothing when the text is not a single absolute http(s) address
    // with a host and without user info. Whitespace around it is ignored; inside it is not.
    static std::optional<QUrl> linkTarget(const QString &pageText);
};

} // namespace tarvell
