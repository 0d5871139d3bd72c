#include "ui/picturebox.h"

#include "ui/appearance.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

namespace tarvell {

PictureBox::PictureBox(QWidget *parent) : ClickLabel(parent)
{
    // The classic 2-pixel sunken border, in the light theme's shades on any desktop: it sits on
    // the fixed white frame.
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    QPalette shades = palette();
    const QPalette light = lightPalette();
    for (auto role : {QPalette::Light, QPalette::Midlight, QPalette::Dark, QPalette::Shadow})
        shades.setColor(role, light.color(role));
    setPalette(shades);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    // Only the sunken border of the frame; the picture is drawn here, unscaled and clipped.
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    // Its own background is the desktop's button face, not the white of the frame around it;
    // an empty banner shows only that.
    painter.fillRect(area, QApplication::palette(this).color(QPalette::Button));
    painter.setClipRect(area);
    if (!m_picture.isNull())
        painter.drawImage(area.topLeft(), m_picture);

    if (hasFocus()) {
        // Black dots on white, so the marker shows on any picture.
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(Qt::white);
        painter.drawRect(area.adjusted(1, 1, -2, -2));
    }
}

void PictureBox::keyPressEvent(QKeyEvent *event)
{
    // The banner takes the focus, so the keyboard can follow its link as well.
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        Q_EMIT clicked();
        return;
    }
    ClickLabel::keyPressEvent(event);
}

} // namespace tarvell
