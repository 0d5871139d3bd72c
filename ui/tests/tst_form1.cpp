// The window as it stands when created: places, fonts, colours, focus and names.
#include "core/roster.h"
#include "pixels.h"
#include "ui/application.h"
#include "ui/form1.h"
#include "ui/picturebox.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextLayout>
#include <QTimer>

using namespace tarvell;

namespace {

// Nothing listens on this port: the banner's requests are refused at once.
const QString kClosedHost = QStringLiteral("127.0.0.1:9");

QWidget *control(QWidget &form, const QString &name)
{
    auto *w = form.findChild<QWidget *>(name);
    if (!w)
        qWarning("no control named %s", qPrintable(name));
    return w;
}

// True when every character of `text` gets a real glyph in `font`, fallback fonts included.
bool rendersWithoutMissingGlyphs(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun &run : layout.glyphRuns()) {
        for (quint32 glyph : run.glyphIndexes()) {
            if (glyph == 0)
                return false;
        }
    }
    return !layout.glyphRuns().isEmpty() || text.trimmed().isEmpty();
}

// The faces that actually draw `text`, fallbacks included.
QStringList facesDrawing(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (const QGlyphRun &run : layout.glyphRuns())
        faces << run.rawFont().familyName();
    return faces;
}

bool isSongFace(const QString &family)
{
    static const QStringList songFaces{"SimSun",
                                       "宋体",
                                       "NSimSun",
                                       "Noto Serif CJK SC",
                                       "Source Han Serif SC",
                                       "AR PL UMing CN",
                                       "AR PL SungtiL GB"};
    return songFaces.contains(family);
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_form = std::make_unique<Form1>(kClosedHost); }
    void cleanup() { m_form.reset(); }

    void geometry_data();
    void geometry();
    void fonts_data();
    void fonts();
    void colours_data();
    void colours();
    void titlesRenderRed();
    void windowSettings();
    void initialState();
    void tabOrder();
    void accessibleNames();
    void creditsFitOnOneLine_data();
    void creditsFitOnOneLine();
    void captionsAreNotClipped();

private:
    std::unique_ptr<Form1> m_form;
};

void TestForm1::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("twips");

    // Placed by hand in the window description; values in twips, as drawn.
    QTest::newRow("Frame1") << "Frame1"
                            << "Form1" << QRect(120, 120, 7335, 1320);
    QTest::newRow("Picture1") << "Picture1"
                              << "Frame1" << QRect(120, 240, 7080, 960);
    QTest::newRow("f1 0") << "f1_0"
                          << "Form1" << QRect(120, 1545, 7335, 1815);
    QTest::newRow("f1 1") << "f1_1"
                          << "Form1" << QRect(120, 5370, 7335, 1815);
    QTest::newRow("p1 0") << "p1_0"
                          << "Form1" << QRect(75, 3390, 1920, 1920);
    QTest::newRow("p1 1") << "p1_1"
                          << "Form1" << QRect(5505, 3390, 1920, 1920);
    QTest::newRow("lLine") << "lLine"
                           << "Form1" << QRect(2100, 3645, 3285, 630);
    QTest::newRow("Command1") << "Command1"
                              << "Form1" << QRect(2055, 4740, 3345, 390);
    QTest::newRow("Label1") << "Label1"
                            << "Form1" << QRect(0, 7245, 7560, 285);
    QTest::newRow("lbl 0") << "lbl_0"
                           << "f1_0" << QRect(60, 375, 975, 195);
    QTest::newRow("lbl 1") << "lbl_1"
                           << "f1_0" << QRect(60, 900, 975, 195);
    QTest::newRow("lbl 2") << "lbl_2"
                           << "f1_0" << QRect(60, 1425, 1170, 195);
    QTest::newRow("lbl 3") << "lbl_3"
                           << "f1_1" << QRect(60, 360, 1170, 195);
    QTest::newRow("lbl 4") << "lbl_4"
                           << "f1_1" << QRect(60, 885, 1170, 195);
    QTest::newRow("lbl 5") << "lbl_5"
                           << "f1_1" << QRect(60, 1425, 1170, 195);
    for (const Team &team : kRoster) {
        QTest::addRow("c1 %d", team.TeamIndex)
            << QStringLiteral("c1_%1").arg(team.TeamIndex)
            << QStringLiteral("f1_%1").arg(team.frame)
            << QRect(team.left, team.top, kBoxWidthTwips, kBoxHeightTwips);
    }
}

void TestForm1::geometry()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, twips);
    QWidget *w = control(*m_form, name);
    QVERIFY(w);
    QCOMPARE(w->parentWidget()->objectName(), container);
    QCOMPARE(w->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
}

void TestForm1::fonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bold"); // every control's face is a Song face
    QTest::addColumn<int>("points");

    for (const char *name : {"Frame1", "f1_0", "f1_1", "Command1", "Label1", "lbl_0", "lbl_1",
                             "lbl_2", "lbl_3", "lbl_4", "lbl_5"})
        QTest::newRow(name) << name << true << 9;
    QTest::newRow("lLine") << "lLine" << true << 24;
    // Regular, and a fixed size the boxes fit, whatever the desktop's font.
    for (const Team &team : kRoster)
        QTest::addRow("c1 %d", team.TeamIndex)
            << QStringLiteral("c1_%1").arg(team.TeamIndex) << false << 9;
}

void TestForm1::fonts()
{
    QFETCH(QString, name);
    QFETCH(bool, bold);
    QFETCH(int, points);
    QWidget *w = control(*m_form, name);
    QVERIFY(w);
    const QFontInfo info(w->font());
    QCOMPARE(info.bold(), bold);
    QCOMPARE(w->font().pointSize(), points);
    QVERIFY2(isSongFace(info.family()), qPrintable(info.family()));

    QString text;
    if (auto *box = qobject_cast<QGroupBox *>(w))
        text = box->title();
    else if (auto *button = qobject_cast<QAbstractButton *>(w))
        text = button->text();
    else if (auto *label = qobject_cast<QLabel *>(w))
        text = label->text().isEmpty() ? QStringLiteral("1125km ") : label->text();
    QVERIFY(!text.isEmpty());
    QVERIFY2(rendersWithoutMissingGlyphs(text, w->font()), qPrintable(text));
    // Han characters in Simplified Chinese forms, whatever the locale: no Japanese, Korean or
    // Traditional Chinese face may draw them.
    for (const QString &face : facesDrawing(text, w->font())) {
        for (const char *foreign : {" JP", " KR", " TC", " HK"})
            QVERIFY2(!face.endsWith(QLatin1String(foreign)), qPrintable(name + ": " + face));
    }
}

void TestForm1::colours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    QTest::addColumn<QColor>("colour");

    const QColor white(255, 255, 255), red(255, 0, 0), blue(0, 0, 255);
    QTest::newRow("window background") << "Form1" << int(QPalette::Window) << white;
    for (const char *frame : {"Frame1", "f1_0", "f1_1"}) {
        QTest::addRow("%s caption", frame) << frame << int(QPalette::WindowText) << red;
        QTest::addRow("%s background", frame) << frame << int(QPalette::Window) << white;
    }
    QTest::newRow("lLine text") << "lLine" << int(QPalette::WindowText) << red;
    QTest::newRow("lLine background") << "lLine" << int(QPalette::Window) << QColor(64, 64, 64);
    QTest::newRow("Command1 face") << "Command1" << int(QPalette::Button) << QColor(255, 255, 192);
    QTest::newRow("Label1 text") << "Label1" << int(QPalette::WindowText) << red;
    QTest::newRow("Label1 background") << "Label1" << int(QPalette::Window) << white;
    for (int i = 0; i < kDivisionCount; ++i) {
        QTest::addRow("lbl %d text", i)
            << QStringLiteral("lbl_%1").arg(i) << int(QPalette::WindowText) << blue;
        QTest::addRow("lbl %d background", i)
            << QStringLiteral("lbl_%1").arg(i) << int(QPalette::Window) << white;
    }
    const QColor defaultText = QApplication::palette().color(QPalette::WindowText);
    for (const Team &team : kRoster) {
        QTest::addRow("c1 %d text", team.TeamIndex) << QStringLiteral("c1_%1").arg(team.TeamIndex)
                                                    << int(QPalette::WindowText) << defaultText;
        QTest::addRow("c1 %d background", team.TeamIndex)
            << QStringLiteral("c1_%1").arg(team.TeamIndex) << int(QPalette::Window) << white;
    }
}

void TestForm1::colours()
{
    QFETCH(QString, name);
    QFETCH(int, role);
    QFETCH(QColor, colour);
    QWidget *w = name == "Form1" ? m_form.get() : control(*m_form, name);
    QVERIFY(w);
    if (role != QPalette::Window) {
        QCOMPARE(w->palette().color(QPalette::ColorRole(role)), colour);
        return;
    }
    // What the background looks like: the top-right pixel is clear of text and borders.
    QVERIFY(w->autoFillBackground());
    QCOMPARE(w->palette().color(w->backgroundRole()), colour);
    const QImage image = w->grab().toImage();
    QCOMPARE(image.pixelColor(image.width() - 1, 0), colour);
}

void TestForm1::titlesRenderRed()
{
    // The style decides how a frame title is painted: look at the pixels, not the palette.
    for (const char *name : {"Frame1", "f1_0", "f1_1"}) {
        const QImage image = control(*m_form, name)->grab().toImage();
        int red = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 60; ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 90 && c.blue() < 90;
            }
        }
        QVERIFY2(red > 10, name);
    }
}

void TestForm1::windowSettings()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Tarvell   版本：1.0 (免费版)"));
    QCOMPARE(m_form->size(), QSize(503, 500));
    QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
    QVERIFY(!(m_form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(m_form->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!m_form->windowIcon().isNull());
    setUpApplication();
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral(TARVELL_VERSION));
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral(TARVELL_APP_ID));
    QVERIFY(m_form->windowIcon().availableSizes().contains(QSize(32, 32)));
    const QImage icon = m_form->windowIcon().pixmap(QSize(32, 32)).toImage();
    QCOMPARE(icon.pixelColor(0, 0).alpha(), 0); // see-through around the motif

    auto *timer = m_form->findChild<QTimer *>("Timer1");
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 1300);
    QVERIFY(timer->isActive());

    auto *label = m_form->findChild<QLabel *>("Label1");
    QVERIFY(label->text().startsWith("Program By: "));
    QVERIFY(label->text().contains(" | 邮箱："));
    QVERIFY(label->text().endsWith(" | 网址：" + m_form->homeAddress()));
    QCOMPARE(control(*m_form, "Picture1")->cursor().shape(), Qt::ArrowCursor);
}

void TestForm1::initialState()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QVERIFY(!control(*m_form, "Command1")->isEnabled());
    QCOMPARE(m_form->findChild<QLabel *>("lLine")->text(), QString());
    for (const char *slot : {"p1_0", "p1_1"})
        QVERIFY(m_form->findChild<QLabel *>(slot)->pixmap().isNull());
    for (const Team &team : kRoster) {
        auto *box = m_form->findChild<QCheckBox *>(QStringLiteral("c1_%1").arg(team.TeamIndex));
        QCOMPARE(box->checkState(), Qt::Unchecked);
        QCOMPARE(box->text(), QString::fromStdU16String(std::u16string(team.caption)));
    }
    QCOMPARE(m_form->logic().SelCount(), 0);
    // What the first frame does not show follows in the load event: the banner, the large
    // icon sizes and the credits line's hand cursor.
    QTRY_VERIFY(m_form->banner());
    QCOMPARE(m_form->banner()->BannerNo(), 0);
    for (const QIcon &icon : {m_form->windowIcon(), QApplication::windowIcon()})
        QVERIFY(icon.availableSizes().contains(QSize(256, 256)));
    const QCursor hand = m_form->findChild<QLabel *>("Label1")->cursor();
    QCOMPARE(hand.shape(), Qt::BitmapCursor);
    QCOMPARE(hand.hotSpot(), QPoint(10, 30));
    QVERIFY(!hand.pixmap().isNull());
    const auto *banner = m_form->findChild<PictureBox *>("Picture1");
    QCOMPARE(banner->picture(), QImage(":/banner.bmp"));
    QCOMPARE(banner->contentsRect().size(), QSize(468, 60));
    // The window's own focus: another test's window may take the activation meanwhile.
    QCOMPARE(m_form->focusWidget(), control(*m_form, "c1_0"));
}

void TestForm1::tabOrder()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QStringList expected;
    for (int i = 1; i <= 14; ++i)
        expected << QStringLiteral("c1_%1").arg(i);
    for (int i = 29; i >= 15; --i)
        expected << QStringLiteral("c1_%1").arg(i);
    expected << "Picture1"
             << "c1_0";
    // Disabled, Command1 is skipped; once enabled it is the first stop after the banner.
    for (bool enabled : {false, true}) {
        control(*m_form, "Command1")->setEnabled(enabled);
        control(*m_form, "c1_0")->setFocus();
        if (enabled)
            expected.insert(expected.size() - 1, "Command1");
        QStringList visited;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }
}

void TestForm1::accessibleNames()
{
    const QList<QWidget *> widgets = m_form->findChildren<QWidget *>();
    QVERIFY(widgets.size() >= 45);
    for (QWidget *w : widgets) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        QVERIFY(iface);
        if (w->objectName().startsWith("p1_"))
            continue; // an empty logo slot has nothing to say yet
        QVERIFY2(!iface->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
    }
    QCOMPARE(
        QAccessible::queryAccessibleInterface(control(*m_form, "c1_1"))->text(QAccessible::Name),
        QStringLiteral("掘金"));
}

void TestForm1::creditsFitOnOneLine_data()
{
    // A pixel larger, the line box is taller than the rows the window shows, as another font's
    // may be: the line moves up into the box's empty top rather than being cut. Its first part
    // alone, descenders and all, so that it still fits across.
    QTest::addColumn<int>("largerBy");
    QTest::newRow("as shipped") << 0;
    QTest::newRow("a pixel larger") << 1;
}

void TestForm1::creditsFitOnOneLine()
{
    // With the host the program ships with, the line's ink, descenders included, must lie in
    // the part of the label that the window shows.
    QFETCH(int, largerBy);
    Form1 shipped(QStringLiteral(TARVELL_MAKER_HOST));
    auto *label = shipped.findChild<QLabel *>("Label1");
    QVERIFY(label->text().endsWith(QStringLiteral("网址：http://" TARVELL_MAKER_HOST)));
    QFont font = label->font();
    font.setPixelSize(QFontInfo(font).pixelSize() + largerBy);
    label->setFont(font);
    if (largerBy > 0)
        label->setText(label->text().section(QLatin1Char('|'), 0, 0).trimmed());
    const QImage image = pixels::grab(label);
    const QRect shown = pixels::toDevice(
        label->rect().intersected(shipped.rect().translated(-label->pos())), image);
    const QRect ink = pixels::inkRect(image, Qt::white);
    QVERIFY2(shown.contains(ink), qPrintable(QStringLiteral("ink %1,%2 to %3,%4 in %5x%6")
                                                 .arg(ink.left())
                                                 .arg(ink.top())
                                                 .arg(ink.right())
                                                 .arg(ink.bottom())
                                                 .arg(shown.width())
                                                 .arg(shown.height())));
    // And the label itself cuts nothing off: with room to spare the ink keeps its size.
    label->resize(label->width() * 2, label->height() * 3);
    QCOMPARE(pixels::inkRect(pixels::grab(label), Qt::white).size(), ink.size());
}

void TestForm1::captionsAreNotClipped()
{
    // Tick boxes and labels are small and fixed; their whole text must show at any scale.
    int checked = 0;
    for (QWidget *w : m_form->findChildren<QWidget *>()) {
        int room = 0;
        QString text;
        if (auto *box = qobject_cast<QCheckBox *>(w)) {
            // The room the style leaves for the caption beside the tick mark.
            QStyleOptionButton option;
            option.initFrom(box);
            option.text = box->text();
            room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).width();
            text = box->text();
        } else if (w->objectName().startsWith("lbl_") || w->objectName() == "Command1") {
            room = w->contentsRect().width();
            text = w->property("text").toString();
        } else {
            continue;
        }
        const int needed = w->fontMetrics().horizontalAdvance(text);
        QVERIFY2(needed <= room, qPrintable(QStringLiteral("%1 needs %2 px, has %3")
                                                .arg(w->objectName())
                                                .arg(needed)
                                                .arg(room)));
        ++checked;
    }
    QCOMPARE(checked, kTeamCount + kDivisionCount + 1);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
