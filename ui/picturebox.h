#pragma once

#include "ui/clicklabel.h"

#include <QImage>

namespace tarvell {

// The banner strip: a sunken 2-pixel border around a fixed picture area. Pictures are drawn
// unscaled from the top-left corner and clipped, so an odd-sized picture never moves the layout.
class PictureBox : public ClickLabel
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QImage m_picture;
};

} // namespace tarvell
