#include "ui/graphicalbutton.h"

#include "ui/appearance.h"

#include <QPainter>
#include <qdrawutil.h>

namespace tarvell {

void GraphicalButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor face = palette().color(QPalette::Button);
    // The border keeps the light theme's shades on any desktop, like the face it surrounds.
    QPalette shades = lightPalette();
    shades.setColor(QPalette::Button, face);
    const QBrush fill(face);
    const bool sunken = isDown() || isChecked();
    qDrawWinButton(&painter, rect(), shades, sunken, &fill);

    constexpr int kBorder = 2;
    QRect textArea = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
    if (sunken)
        textArea.translate(1, 1);
    const int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    QColor ink = palette().color(QPalette::ButtonText);
    if (contrastRatio(ink, face) < 4.5)
        ink = lightPalette().color(QPalette::ButtonText);
    if (isEnabled()) {
        painter.setPen(ink);
        painter.drawText(textArea, flags, text());
    } else {
        // Etched: a light copy one pixel down and right, the grey caption over it.
        painter.setPen(shades.color(QPalette::Light));
        painter.drawText(textArea.translated(1, 1), flags, text());
        painter.setPen(shades.color(QPalette::Dark));
        painter.drawText(textArea, flags, text());
    }

    if (hasFocus()) {
        painter.setPen(QPen(ink, 1, Qt::DotLine));
        painter.drawRect(textArea.adjusted(1, 1, -2, -2));
    }
}

} // namespace tarvell
