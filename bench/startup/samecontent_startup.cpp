// The content Tarvell shows, and nothing else: the 30 team boxes, the frames, the division
// labels, the button, the result label and the credits line, in the same faces, placed from
// the same roster. No pictures, no icon, no cursor, no network and no logic: what a plain Qt
// program pays to show that much.

#include "bench/startup/firstframe.h"
#include "core/roster.h"

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace {

// The window's layout is in twips, 15 to a logical pixel.
QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

QString text(std::u16string_view caption)
{
    return QString::fromUtf16(caption.data(), static_cast<qsizetype>(caption.size()));
}

QFont captionFont(int pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setStyleHint(QFont::Serif);
    font.setPointSize(pointSize);
    font.setBold(true);
    return font;
}

QFont boxFont()
{
    QFont font = QApplication::font();
    font.setFamilies({font.family(), QStringLiteral("Noto Sans CJK SC")});
    return font;
}

void colour(QWidget *widget, const QColor &text, const QColor &background)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(widget->backgroundRole(), background);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

int main(int argc, char *argv[])
{
    const tarvell::bench::StartupOptions options = tarvell::bench::parseOptions(argc, argv, false);

    QApplication app(argc, argv);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Tarvell   版本：1.0 (免费版)"));
    window.setFixedSize(503, 500);
    colour(&window, Qt::black, Qt::white);

    auto *top = new QGroupBox(QStringLiteral("推荐"), &window);
    top->setGeometry(twips(120, 120, 7335, 1320));
    top->setFont(captionFont(9));
    colour(top, Qt::red, Qt::white);
    auto *strip = new QFrame(top);
    strip->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    strip->setLineWidth(2);
    strip->setGeometry(twips(120, 240, 7080, 960));

    const QRect frameTwips[] = {{120, 1545, 7335, 1815}, {120, 5370, 7335, 1815}};
    const char *frameCaptions[] = {"西部", "东部"};
    QGroupBox *frames[2];
    for (int f = 0; f < 2; ++f) {
        frames[f] = new QGroupBox(QString::fromUtf8(frameCaptions[f]), &window);
        const QRect &r = frameTwips[f];
        frames[f]->setGeometry(twips(r.x(), r.y(), r.width(), r.height()));
        frames[f]->setFont(captionFont(9));
        colour(frames[f], Qt::red, Qt::white);
    }
    for (const tarvell::Division &division : tarvell::kDivisions) {
        auto *label = new QLabel(text(division.caption), frames[division.frame]);
        label->setGeometry(twips(division.left, division.top, division.width, division.height));
        label->setFont(captionFont(9));
        colour(label, Qt::blue, Qt::white);
    }
    const QFont boxes = boxFont();
    for (const tarvell::Team &team : tarvell::kRoster) {
        auto *box = new QCheckBox(text(team.caption), frames[team.frame]);
        box->setGeometry(
            twips(team.left, team.top, tarvell::kBoxWidthTwips, tarvell::kBoxHeightTwips));
        box->setFont(boxes);
        colour(box, Qt::black, Qt::white);
    }

    auto *result = new QLabel(&window);
    result->setGeometry(twips(2100, 3645, 3285, 630));
    result->setFont(captionFont(24));
    colour(result, Qt::red, QColor(64, 64, 64));

    auto *button = new QPushButton(QStringLiteral("计算"), &window);
    button->setGeometry(twips(2055, 4740, 3345, 390));
    button->setFont(captionFont(9));
    button->setEnabled(false);

    auto *credits = new QLabel(
        QStringLiteral("Program By: TV | 邮箱：tv@tarvell.example | 网址：http://127.0.0.1:9"),
        &window);
    credits->setGeometry(twips(0, 7245, 7560, 285));
    credits->setFont(captionFont(9));
    credits->setAlignment(Qt::AlignCenter);
    colour(credits, Qt::red, Qt::white);

    tarvell::bench::FirstFrameReport report(&window, options.lingerMs);
    window.show();
    return QApplication::exec();
}
