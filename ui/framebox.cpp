#include "ui/framebox.h"

#include <QPainter>

namespace tarvell {

void FrameBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));

    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;
    const QRect line = rect().adjusted(0, lineY, -1, -1);
    // Etched: a grey line with a white one just inside it.
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(line.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::white);
    painter.drawRect(line.adjusted(1, 1, 0, 0));

    const QString caption = title();
    if (caption.isEmpty())
        return;
    const int indent = 6;
    const QRect captionRect(indent, 0, metrics.horizontalAdvance(caption) + 4, metrics.height());
    painter.fillRect(captionRect, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(captionRect, Qt::AlignCenter, caption);
}

} // namespace tarvell
