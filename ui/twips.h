#pragma once

#include <QRect>

namespace tarvell {

// The layout is drawn in twips at 96 dpi, where 15 twips make one logical pixel; Qt's
// high-DPI scaling takes it from there on denser screens.
constexpr int twipsToPixels(int twips)
{
    return twips / 15;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

constexpr QRect twipsRect(const QRect &twips)
{
    return twipsRect(twips.x(), twips.y(), twips.width(), twips.height());
}

} // namespace tarvell
