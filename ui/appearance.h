#pragma once

#include <QFont>
#include <QIcon>
#include <QImage>

namespace tarvell {

// The bold Song-style face of the window's captions, at the given point size.
QFont captionFont(int pointSize);

// The application's default font, with Simplified Chinese faces ahead of the toolkit's own
// fallback, which in a non-Chinese locale may draw Han characters in their Japanese forms.
QFont defaultFont();

// One of our own pictures, read with the named built-in format: guessing the format would
// load every image plugin first.
QImage builtInPicture(const QString &path, const char *format);

// The sizes a title bar or a task bar shows; the larger ones can wait for the first frame.
inline constexpr int kFirstFrameIconSize = 64;

// The program's icon at every size we draw it up to largestSize. Built from the PNGs rather
// than the ICO: Qt's ICO reader ignores the transparency mask of 24-bit images.
QIcon programIcon(int largestSize = 256);

} // namespace tarvell
