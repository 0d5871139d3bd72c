#pragma once

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPalette>

namespace tarvell {

// WCAG 2 contrast ratio of two opaque colours, from 1 (same) to 21 (black on white).
double contrastRatio(const QColor &a, const QColor &b);

// The light theme our fixed white backgrounds were drawn with: black text, white fields and
// the classic grey shading, as Qt derives it from a light button face.
QPalette lightPalette();

// The desktop's palette made fit for parts painted on our white background. An ink (text,
// shadow lines) keeps the desktop's colour where it has 4.5:1 against white, a surface (fields,
// highlights) where that ink has 4.5:1 on it; the rest comes from lightPalette(). A light
// desktop comes through unchanged, a dark one reads as the light theme.
QPalette readableOnWhite(const QPalette &desktop);

// The bold Song-style face of the window's captions, at the given point size.
QFont captionFont(int pointSize);

// The team boxes' face: regular Song at 9 pt, fixed so the names fit their fixed boxes
// whatever the desktop's font size.
QFont teamFont();

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
