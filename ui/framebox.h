#pragma once

#include <QGroupBox>

namespace tarvell {

// A captioned frame painted the same under every style: white inside, an etched line around
// it, and the caption in the frame's text colour breaking the top line. Children are placed
// from the frame's outer top-left corner.
class FrameBox : public QGroupBox
{
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace tarvell
