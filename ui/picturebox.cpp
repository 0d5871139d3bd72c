#include "ui/picturebox.h"

#include <QKeyEvent>
#include <QPainter>

namespace tarvell {

PictureBox::PictureBox(QWidget *parent) : ClickLabel(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
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
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setClipRect(area);
    painter.drawImage(area.topLeft(), m_picture);
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
