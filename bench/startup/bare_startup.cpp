// The floor Tarvell is measured against: the least a Qt Widgets program of the same size does
// to show a window with one bold CJK caption.

#include "bench/startup/firstframe.h"

#include <QApplication>
#include <QFont>
#include <QPushButton>
#include <QWidget>

int main(int argc, char *argv[])
{
    const tarvell::bench::StartupOptions options = tarvell::bench::parseOptions(argc, argv, false);

    QApplication app(argc, argv);

    QWidget window;
    window.setFixedSize(503, 500);
    auto *button = new QPushButton(QStringLiteral("计算"), &window);
    // The face Tarvell's captions resolve to on Debian, so both load the same font file.
    QFont font;
    font.setFamilies({QStringLiteral("Noto Serif CJK SC")});
    font.setStyleHint(QFont::Serif);
    font.setPointSize(9);
    font.setBold(true);
    button->setFont(font);
    button->setGeometry(137, 316, 223, 26);

    tarvell::bench::FirstFrameReport report(&window, options.lingerMs);
    window.show();
    return QApplication::exec();
}
