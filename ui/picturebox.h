#pragma once

#include <QFrame>
#include <QImage>

namespace tarvell {

// The banner strip: a sunken 2-pixel border around a fixed picture area. Pictures are drawn
// unscaled from the top-left corner and clipped, so an odd-sized picture never moves the layout.
class PictureBox : public QFrame
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QImage m_picture;
    bool m_pressed = false;
};

} // namespace tarvell
