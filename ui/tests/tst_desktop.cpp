// The window on other desktops: dark palettes, large default fonts and other styles. The
// window's own colours are fixed; what it takes from the desktop must read on them.
#include "pixels.h"
#include "ui/appearance.h"
#include "ui/form1.h"
#include "ui/picturebox.h"

#include <QCheckBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

using namespace tarvell;

namespace {

enum Desktop { Normal = 0, Dark = 1, LargeFont = 2 };

void setDesktop(int desktop)
{
    if (desktop & Dark) {
        // Adwaita's dark variant, as Qt's GTK theme reports it.
        const QColor text(240, 240, 240), window(50, 50, 50), light(75, 75, 75);
        QPalette dark(text, window, light, QColor(33, 33, 33), QColor(38, 38, 38), text, light,
                      QColor(36, 36, 36), window);
        QApplication::setPalette(dark);
    }
    if (desktop & LargeFont) {
        QFont large = QApplication::font();
        large.setPointSize(15);
        QApplication::setFont(large);
    }
}

QRect boxPart(QCheckBox *box, QStyle::SubElement element, const QImage &image)
{
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    return pixels::toDevice(box->style()->subElementRect(element, &option, box), image);
}

// Where the box's name can show: right of the tick mark to the box's edge. A glyph may reach a
// pixel past its advance, and so past the style's contents rectangle, and still be whole.
QRect nameArea(QCheckBox *box, const QImage &image)
{
    QRect area = boxPart(box, QStyle::SE_CheckBoxContents, image);
    area.setRight(image.width() - 1);
    return area;
}

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void teamBoxes_data();
    void teamBoxes();
    void specifiedColours_data() { teamBoxes_data(); }
    void specifiedColours();
    void styles_data();
    void styles();
    void bannerFocusMarker();

private:
    void build(int desktop, bool changeWhileOpen = false);
    QWidget *control(const QString &name) const { return m_form->findChild<QWidget *>(name); }

    QPalette m_palette;
    QFont m_font;
    QString m_style;
    std::unique_ptr<Form1> m_form;
};

void TestDesktop::initTestCase()
{
    m_palette = QApplication::palette();
    m_font = QApplication::font();
    m_style = QApplication::style()->name();
}

void TestDesktop::cleanup()
{
    m_form.reset();
    QApplication::setStyle(QStyleFactory::create(m_style));
    QApplication::setPalette(m_palette);
    QApplication::setFont(m_font);
}

void TestDesktop::build(int desktop, bool changeWhileOpen)
{
    if (!changeWhileOpen)
        setDesktop(desktop);
    m_form = std::make_unique<Form1>(QStringLiteral("127.0.0.1:9"));
    if (changeWhileOpen)
        setDesktop(desktop);
    m_form->findChild<QTimer *>("Timer1")->stop(); // the design-time banner stays up
}

void TestDesktop::teamBoxes_data()
{
    QTest::addColumn<int>("desktop");
    QTest::addColumn<bool>("changeWhileOpen");
    QTest::newRow("normal") << int(Normal) << false;
    QTest::newRow("dark palette") << int(Dark) << false;
    QTest::newRow("15 pt font") << int(LargeFont) << false;
    QTest::newRow("dark palette, 15 pt font") << int(Dark | LargeFont) << false;
    QTest::newRow("both, set while open") << int(Dark | LargeFont) << true;
}

void TestDesktop::teamBoxes()
{
    QFETCH(int, desktop);
    QFETCH(bool, changeWhileOpen);
    build(desktop, changeWhileOpen);
    for (auto *box : m_form->findChildren<QCheckBox *>()) {
        const QImage image = pixels::grab(box);
        const QRect ink = pixels::inkRect(image, Qt::white, nameArea(box, image));
        const double contrast = contrastRatio(pixels::darkest(image, ink), Qt::white);
        QVERIFY2(contrast >= 4.5, qPrintable(box->text() + QString::number(contrast)));
        // Whole: with room to spare the name's ink keeps its size, so none was cut off.
        const QSize size = box->size();
        box->resize(size * 3);
        const QImage roomy = pixels::grab(box);
        const QRect whole = pixels::inkRect(roomy, Qt::white, nameArea(box, roomy));
        box->resize(size);
        QCOMPARE(ink.size(), whole.size());

        // A white field, its outline told from the white around it, and a tick that stands
        // out from it (3:1, WCAG's floor for marks).
        const QRect indicator = boxPart(box, QStyle::SE_CheckBoxIndicator, image);
        QCOMPARE(image.pixelColor(indicator.center()), QColor(Qt::white));
        QVERIFY(pixels::inkRect(image, Qt::white, indicator).width() >= indicator.width() - 2);
        box->setChecked(true);
        const QImage ticked = pixels::grab(box);
        box->setChecked(false);
        double tick = 1;
        for (int y = indicator.top(); y <= indicator.bottom(); ++y) {
            for (int x = indicator.left(); x <= indicator.right(); ++x)
                tick =
                    std::max(tick, contrastRatio(image.pixelColor(x, y), ticked.pixelColor(x, y)));
        }
        QVERIFY2(tick >= 3, qPrintable(QString::number(tick)));
    }
}

void TestDesktop::specifiedColours()
{
    QFETCH(int, desktop);
    QFETCH(bool, changeWhileOpen);
    build(desktop, changeWhileOpen);
    const QColor white(255, 255, 255), red(255, 0, 0), blue(0, 0, 255);
    // Background, then the text's colour (invalid where there is no text at start).
    std::vector<std::tuple<QString, QColor, QColor>> fixed{{"Frame1", white, red},
                                                           {"f1_0", white, red},
                                                           {"f1_1", white, red},
                                                           {"Label1", white, red},
                                                           {"lLine", QColor(64, 64, 64), {}},
                                                           {"Command1", QColor(255, 255, 192), {}}};
    for (int i = 0; i < kDivisionCount; ++i)
        fixed.emplace_back(QStringLiteral("lbl_%1").arg(i), white, blue);
    for (const auto &[name, background, ink] : fixed) {
        QWidget *w = control(name);
        const QImage image = pixels::grab(w);
        // Near the right end, clear of borders and captions.
        const QRect spot = pixels::toDevice(QRect(w->width() - 4, w->height() / 2, 1, 1), image);
        QCOMPARE(image.pixelColor(spot.topLeft()), background);
        if (ink.isValid())
            QVERIFY2(pixels::count(image, ink) > 0, qPrintable(name + " has no " + ink.name()));
    }
}

void TestDesktop::styles_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<int>("desktop");
    for (const char *style : {"Fusion", "Windows"}) {
        QTest::addRow("%s", style) << style << int(Normal);
        QTest::addRow("%s, dark palette", style) << style << int(Dark);
    }
}

void TestDesktop::styles()
{
    QFETCH(QString, style);
    QFETCH(int, desktop);
    QApplication::setStyle(QStyleFactory::create(style));
    QCOMPARE(QApplication::style()->name().toLower(), style.toLower());
    build(desktop);

    // Command1: flat light yellow just inside its 2-pixel border in every state; raised (lit
    // from the top left), sunken while pressed; a dark caption, greyed when disabled.
    auto *button = m_form->findChild<QPushButton *>("Command1");
    const QColor face(255, 255, 192);
    const QImage disabled = pixels::grab(button);
    button->setEnabled(true);
    const QImage raised = pixels::grab(button);
    button->setDown(true);
    const QImage pressed = pixels::grab(button);
    const QRect inner = pixels::toDevice(button->rect().adjusted(2, 2, -2, -2), raised);
    const QRect ring = inner.adjusted(1, 1, -1, -1);
    const auto lift = [](const QImage &image) {
        const int x = image.width() / 2;
        return qGray(image.pixel(x, 0)) - qGray(image.pixel(x, image.height() - 1));
    };
    for (const QImage *image : {&disabled, &raised, &pressed}) {
        const int ringPixels = 2 * (inner.width() + inner.height()) - 4;
        QCOMPARE(pixels::count(image->copy(inner), face) - pixels::count(image->copy(ring), face),
                 ringPixels);
    }
    QVERIFY(lift(raised) > 0);
    QVERIFY(lift(pressed) < 0);
    const QColor ink = pixels::darkest(raised, pixels::inkRect(raised, face, ring));
    const QColor greyed = pixels::darkest(disabled, pixels::inkRect(disabled, face, ring));
    QVERIFY2(contrastRatio(ink, face) >= 4.5, qPrintable(ink.name()));
    QVERIFY2(qGray(greyed.rgb()) > qGray(ink.rgb()) && greyed.red() == greyed.blue() &&
                 contrastRatio(greyed, face) > 1.5,
             qPrintable(greyed.name()));

    // The empty banner: the desktop's button face (not the frame's white) inside a sunken border.
    auto *banner = m_form->findChild<PictureBox *>("Picture1");
    banner->setPicture(QImage());
    const QImage empty = pixels::grab(banner);
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    QVERIFY(buttonFace != QColor(Qt::white));
    QCOMPARE(pixels::inkRect(empty, buttonFace, pixels::toDevice(banner->contentsRect(), empty)),
             QRect());
    QVERIFY(lift(empty) < 0);
}

void TestDesktop::bannerFocusMarker()
{
    build(Normal);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    auto *banner = m_form->findChild<PictureBox *>("Picture1");
    for (const QImage &picture : {banner->picture(), QImage()}) {
        banner->setPicture(picture);
        control("c1_0")->setFocus(Qt::TabFocusReason);
        const QImage before = pixels::grab(banner);
        banner->setFocus(Qt::TabFocusReason);
        const QImage focused = pixels::grab(banner);
        control("c1_0")->setFocus(Qt::TabFocusReason);
        QCOMPARE(pixels::grab(banner), before); // gone with the focus

        // A marker that shows: strong changes all round, all inside the border.
        const QRect inside = pixels::toDevice(banner->contentsRect(), before);
        QRect changed;
        for (int y = 0; y < before.height(); ++y) {
            for (int x = 0; x < before.width(); ++x) {
                if (contrastRatio(before.pixelColor(x, y), focused.pixelColor(x, y)) >= 3)
                    changed |= QRect(x, y, 1, 1);
            }
        }
        QVERIFY(inside.contains(changed));
        QVERIFY(changed.width() > inside.width() * 9 / 10);
        QVERIFY(changed.height() > inside.height() * 8 / 10);
    }
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
