#pragma once

// Tarvell's only window.
//
// core/   the roster, the distance table, and the selection and calculate rules
//         (tarvell::Form1Logic), which see the window only through tarvell::Form1Window.
// banner/ the maker's banner: hidden link page, picture rotation, LoadPicture, links
//         (tarvell::Banner); it knows nothing of widgets. The window loads it as a module
//         once its first frame is on screen (ui/bannermodule.h) and talks to it only through
//         tarvell::BannerSession, so Qt Network stays out of the start-up.
// ui/     this window: it builds the controls from the roster, implements Form1Window over
//         them and wires every event to core and banner.

#include "banner/bannersession.h"
#include "core/form1logic.h"
#include "core/form1window.h"
#include "core/roster.h"
#include "ui/version.h"

#include <QWidget>

#include <array>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

namespace tarvell {

class ClickLabel;
class PictureBox;

inline constexpr char kWindowTitle[] = "Tarvell   版本：" TARVELL_TITLE_VERSION " (免费版)";

class Form1 : public QWidget, private Form1Window
{
    Q_OBJECT
public:
    explicit Form1(const QString &makerHost, QWidget *parent = nullptr);

    const Form1Logic &logic() const { return m_logic; }
    // Null until the load event has loaded the banner module, and if it could not.
    const BannerSession *banner() const { return m_banner.get(); }
    // The maker's address as the credits line shows and opens it.
    QString homeAddress() const;

    // Places the window in the middle of the screen it is on.
    void centerOnScreen();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Form1Window
    int boxValue(int team) const override;
    void setBoxValue(int team, int value) override;
    std::u16string boxCaption(int team) const override;
    void setCommandEnabled(bool enabled) override;
    void showMessage(std::u16string_view text, std::u16string_view title) override;
    void showLogo(int slot, int logoId) override;
    void setResultText(std::u16string_view text) override;

    void createControls();
    void createTeamFrames();
    void applyDesktopColours();
    void setTabOrder();
    void wireEvents();

    // Event handlers.
    void formLoad();
    template <typename Handler> void guarded(Handler handler);

    Form1Logic m_logic{*this};
    const QString m_makerHost;
    std::unique_ptr<BannerSession> m_banner;
    bool m_loaded = false;

    std::array<QCheckBox *, kTeamCount> c1{};
    std::array<QLabel *, kDivisionCount> lbl{};
    std::array<QGroupBox *, 2> f1{};
    std::array<QLabel *, kLogoSlots> p1{};
    QGroupBox *Frame1 = nullptr;
    PictureBox *Picture1 = nullptr;
    QLabel *lLine = nullptr;
    QPushButton *Command1 = nullptr;
    ClickLabel *Label1 = nullptr;
    QTimer *Timer1 = nullptr;
};

} // namespace tarvell
