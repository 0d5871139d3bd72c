#pragma once

#include <QPushButton>

namespace tarvell {

// A command button in the graphical style: its face painted flat in the palette's Button colour
// under every style, a raised border that sinks while pressed, and a greyed, etched caption on
// the same face when disabled.
class GraphicalButton : public QPushButton
{
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace tarvell
