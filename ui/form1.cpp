#include "ui/form1.h"

#include "banner/makersite.h"
#include "ui/appearance.h"
#include "ui/bannermodule.h"
#include "ui/clicklabel.h"
#include "ui/framebox.h"
#include "ui/graphicalbutton.h"
#include "ui/handpointer.h"
#include "ui/picturebox.h"
#include "ui/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

namespace tarvell {

namespace {

constexpr QColor kWhite(255, 255, 255);
constexpr QColor kRed(255, 0, 0);
constexpr QColor kBlue(0, 0, 255);
constexpr QColor kLightYellow(255, 255, 192);
constexpr QColor kDarkGrey(64, 64, 64);

constexpr int kBannerIntervalMs = 1300;
constexpr QSize kClientSize(503, 500);
// Label1 reaches 7530 twips down a client area 7500 twips high.
constexpr int kClippedCreditsRows = 2;

struct ConferenceFrame
{
    const char *caption;
    QRect twips;
};
constexpr std::array<ConferenceFrame, 2> kConferenceFrames{{
    {"西部", {120, 1545, 7335, 1815}},
    {"东部", {120, 5370, 7335, 1815}},
}};

QString toQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// Fixes a widget's colours: the given text colour on the given background.
void paint(QWidget *widget, const QColor &text, const QColor &background)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, text);
    // Buttons, tick boxes among them, fill their background from the Button role.
    palette.setColor(widget->backgroundRole(), background);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The credits line. The window cuts off the label's last rows; the line is centred in the rows
// it shows, with one row to spare below the font's descent, since some font engines draw
// descenders a row past it. Where the line is as tall as those rows, it moves up into the empty
// top of its line box: painted here, as a label would clip it to its contents.
class CreditsLabel final : public ClickLabel
{
public:
    using ClickLabel::ClickLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        const int line = fontMetrics().height();
        const int spare = height() - kClippedCreditsRows - (line + 1);
        const int top = spare >= 0 ? spare / 2 : (spare - 1) / 2;
        QPainter painter(this);
        style()->drawItemText(&painter, QRect(0, top, width(), height() - top),
                              Qt::AlignHCenter | Qt::AlignTop, palette(), isEnabled(), text(),
                              foregroundRole());
    }
};

// In 9 pt SimSun, which Windows emboldens by a pixel a character, every Latin character takes
// 7 px and every Chinese one 13 px: with the shipped address this line is 498 px of the 503 the
// window shows, so the name and the e-mail address are as short as they are.
QString creditsLine(const QString &homeAddress)
{
    return QStringLiteral("Program By: TV | 邮箱：tv@tarvell.example | 网址：") + homeAddress;
}

} // namespace

Form1::Form1(const QString &makerHost, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_makerHost(makerHost)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kWindowTitle));
    // main() has usually set the application's icon already; decode the PNGs only once. The
    // large sizes and the hand cursor wait for the load event: the first frame shows neither.
    setWindowIcon(QApplication::windowIcon().isNull() ? programIcon(kFirstFrameIconSize)
                                                      : QApplication::windowIcon());
    setFixedSize(kClientSize);
    setAutoFillBackground(true);

    createControls();
    createTeamFrames();
    applyDesktopColours();
    setTabOrder();
    wireEvents();

    // Command1 is disabled, labels and frames take no focus: the first team box starts with it.
    c1[0]->setFocus();
}

void Form1::createControls()
{
    Frame1 = new FrameBox(QStringLiteral("推荐"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(120, 120, 7335, 1320));
    Frame1->setFont(captionFont(9));
    paint(Frame1, kRed, kWhite);

    Picture1 = new PictureBox(Frame1);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipsRect(120, 240, 7080, 960));
    Picture1->setPicture(builtInPicture(QStringLiteral(":/banner.bmp"), "bmp"));
    Picture1->setAccessibleName(QStringLiteral("推荐"));
    Picture1->setCursor(Qt::ArrowCursor);

    for (int slot = 0; slot < kLogoSlots; ++slot) {
        QLabel *logo = new QLabel(this);
        logo->setObjectName(QStringLiteral("p1_%1").arg(slot));
        logo->setGeometry(twipsRect(slot == 0 ? 75 : 5505, 3390, 1920, 1920));
        logo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        p1[static_cast<std::size_t>(slot)] = logo;
    }

    lLine = new QLabel(this);
    lLine->setObjectName(QStringLiteral("lLine"));
    lLine->setGeometry(twipsRect(2100, 3645, 3285, 630));
    lLine->setFont(captionFont(24));
    lLine->setAlignment(Qt::AlignCenter);
    paint(lLine, kRed, kDarkGrey);
    lLine->setAccessibleName(QStringLiteral("距离"));

    Command1 = new GraphicalButton(QStringLiteral("计算"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(2055, 4740, 3345, 390));
    Command1->setFont(captionFont(9));
    QPalette face = Command1->palette();
    face.setColor(QPalette::Button, kLightYellow);
    Command1->setPalette(face);
    Command1->setEnabled(false);

    Label1 = new CreditsLabel(creditsLine(homeAddress()), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(0, 7245, 7560, 285));
    Label1->setFont(captionFont(9));
    paint(Label1, kRed, kWhite);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kBannerIntervalMs);
}

void Form1::createTeamFrames()
{
    for (std::size_t f = 0; f < f1.size(); ++f) {
        QGroupBox *frame = new FrameBox(QString::fromUtf8(kConferenceFrames[f].caption), this);
        frame->setObjectName(QStringLiteral("f1_%1").arg(f));
        frame->setGeometry(twipsRect(kConferenceFrames[f].twips));
        frame->setFont(captionFont(9));
        paint(frame, kRed, kWhite);
        f1[f] = frame;
    }

    for (const Division &division : kDivisions) {
        QLabel *label =
            new QLabel(toQString(division.caption), f1[static_cast<std::size_t>(division.frame)]);
        label->setObjectName(QStringLiteral("lbl_%1").arg(division.index));
        label->setGeometry(twipsRect(division.left, division.top, division.width, division.height));
        label->setFont(captionFont(9));
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        paint(label, kBlue, kWhite);
        lbl[static_cast<std::size_t>(division.index)] = label;
    }

    // The boxes' font is fixed so the names fit; their colours are set with the desktop's.
    const QFont boxFont = teamFont();
    for (const Team &team : kRoster) {
        QCheckBox *box =
            new QCheckBox(toQString(team.caption), f1[static_cast<std::size_t>(team.frame)]);
        box->setObjectName(QStringLiteral("c1_%1").arg(team.TeamIndex));
        box->setGeometry(twipsRect(team.left, team.top, kBoxWidthTwips, kBoxHeightTwips));
        box->setFont(boxFont);
        box->setAutoFillBackground(true);
        box->setAccessibleName(toQString(team.caption).remove(QLatin1Char(' ')));
        c1[static_cast<std::size_t>(team.TeamIndex)] = box;
    }
}

void Form1::applyDesktopColours()
{
    // The window's own backgrounds are fixed white; what it takes from the desktop (the boxes'
    // text and tick marks) must read on them, on a dark desktop too.
    QPalette desktop = readableOnWhite(QApplication::palette());
    // Every role set here, so nothing of a parent's palette (the frames' red) comes through and
    // a later change of the desktop's palette cannot make the names unreadable.
    desktop.setResolveMask(~QPalette::ResolveMask(0));
    QPalette window = desktop;
    window.setColor(QPalette::Window, kWhite);
    setPalette(window);
    // Not the frame's red caption: the desktop's text, on white.
    QPalette boxes = desktop;
    boxes.setColor(QPalette::Button, kWhite);
    for (QCheckBox *box : c1)
        box->setPalette(boxes);
}

void Form1::setTabOrder()
{
    // Only the button, the team boxes and the banner take the focus; chain them by tab index.
    std::vector<std::pair<int, QWidget *>> stops{{0, Command1}, {42, Picture1}};
    for (const Team &team : kRoster)
        stops.emplace_back(team.tabIndex, c1[static_cast<std::size_t>(team.TeamIndex)]);
    std::sort(stops.begin(), stops.end());
    for (std::size_t i = 0; i + 1 < stops.size(); ++i)
        QWidget::setTabOrder(stops[i].second, stops[i + 1].second);
}

void Form1::wireEvents()
{
    for (const Team &team : kRoster) {
        const int index = team.TeamIndex;
        // toggled fires for the user's clicks and the program's own changes alike; the boxes
        // have two states, so it fires whenever the state changes.
        connect(c1[static_cast<std::size_t>(index)], &QCheckBox::toggled, this,
                [this, index] { guarded([this, index] { m_logic.c1Click(index); }); });
    }
    connect(Command1, &QPushButton::clicked, this,
            [this] { guarded([this] { m_logic.Command1Click(); }); });
    // Until the banner module is loaded, ticks and clicks have nothing to reach.
    connect(Timer1, &QTimer::timeout, this, [this] {
        if (m_banner)
            m_banner->tick();
    });
    connect(Picture1, &PictureBox::clicked, this, [this] {
        if (m_banner)
            m_banner->bannerClicked();
    });
    // The maker's address needs no network: without the banner module the window opens it.
    connect(Label1, &ClickLabel::clicked, this, [this] {
        if (m_banner)
            m_banner->creditsClicked();
        else
            QDesktopServices::openUrl(MakerSite(m_makerHost).homeUrl());
    });
    Timer1->start();
}

void Form1::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // The load event runs once the first frame is on screen, so the network never delays it.
    if (!m_loaded) {
        m_loaded = true;
        QTimer::singleShot(0, this, &Form1::formLoad);
    }
}

void Form1::formLoad()
{
    const QIcon icon = programIcon();
    QApplication::setWindowIcon(icon);
    setWindowIcon(icon);
    // The ICO reader is a plugin of its own, loaded only now.
    Label1->setCursor(
        QCursor(QPixmap::fromImage(builtInPicture(QStringLiteral(":/hand.ico"), "ico")),
                kHandHotSpot.x(), kHandHotSpot.y()));

    BannerFactory *factory = bannerFactory();
    if (!factory)
        return;
    m_banner = factory->create(m_makerHost,
                               [picture = QPointer<PictureBox>(Picture1)](const QImage &image) {
                                   if (picture)
                                       picture->setPicture(image);
                               });
    m_banner->load();
}

QString Form1::homeAddress() const
{
    return MakerSite(m_makerHost).homeAddress();
}

template <typename Handler> void Form1::guarded(Handler handler)
{
    // A broken invariant (a counter overflow) ends the program with a message instead of
    // unwinding through the event loop.
    try {
        handler();
    } catch (const std::exception &error) {
        QMessageBox::critical(this, QStringLiteral("Tarvell"), QString::fromUtf8(error.what()));
        QCoreApplication::exit(1);
    }
}

void Form1::centerOnScreen()
{
    const QScreen *where = screen();
    if (!where)
        return;
    QRect frame(QPoint(), frameGeometry().size());
    frame.moveCenter(where->availableGeometry().center());
    move(frame.topLeft());
}

int Form1::boxValue(int team) const
{
    switch (c1.at(static_cast<std::size_t>(team))->checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        break;
    }
    return 2;
}

void Form1::setBoxValue(int team, int value)
{
    static constexpr std::array<Qt::CheckState, 3> kStates{Qt::Unchecked, Qt::Checked,
                                                           Qt::PartiallyChecked};
    QCheckBox *box = c1.at(static_cast<std::size_t>(team));
    box->setCheckState(kStates.at(static_cast<std::size_t>(value)));
    // A box undone inside its own click (while the message box was up) is still being animated
    // by the Windows style towards the tick the click set, and that tick stayed on screen.
    // Once the click is over, the box is polished anew, which ends its animation, and drawn as
    // it is.
    QMetaObject::invokeMethod(
        box,
        [box] {
            box->style()->unpolish(box);
            box->style()->polish(box);
            box->update();
        },
        Qt::QueuedConnection);
}

std::u16string Form1::boxCaption(int team) const
{
    const QString text = c1.at(static_cast<std::size_t>(team))->text();
    return std::u16string(reinterpret_cast<const char16_t *>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

void Form1::setCommandEnabled(bool enabled)
{
    Command1->setEnabled(enabled);
}

void Form1::showMessage(std::u16string_view text, std::u16string_view title)
{
    QMessageBox box(QMessageBox::NoIcon, toQString(title), toQString(text), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("TooManyTeams"));
    box.setFont(defaultFont());
    box.exec();
}

void Form1::showLogo(int slot, int logoId)
{
    QLabel *logo = p1.at(static_cast<std::size_t>(slot));
    logo->setPixmap(
        QPixmap::fromImage(builtInPicture(QStringLiteral(":/logos/%1.bmp").arg(logoId), "bmp")));
    const auto &team = kRoster.at(static_cast<std::size_t>(logoId - 1));
    logo->setAccessibleName(toQString(team.caption).remove(QLatin1Char(' ')));
}

void Form1::setResultText(std::u16string_view text)
{
    lLine->setText(toQString(text));
    lLine->setAccessibleName(lLine->text());
}

} // namespace tarvell
