#pragma once

#include "bmpwriter.h"

#include <QPoint>

namespace artgen {

// Palette indices used by the pointer; the rest of the 16 slots hold the usual VGA colours.
inline constexpr quint8 kCursorBlack = 0;
inline constexpr quint8 kCursorWhite = 15;

// The 16-colour palette shared by both pointer sizes.
QList<QRgb> cursorPalette();

// A hand whose index finger points down, `size` pixels square (32 or 16): black outline,
// white fill, transparent elsewhere.
IndexedImage handCursor(int size);

// The pixel under the fingertip of handCursor(size), i.e. the pointer's hot spot.
QPoint handHotSpot(int size);

} // namespace artgen
