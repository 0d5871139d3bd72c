#include "ui/appearance.h"

#include <QApplication>
#include <QImageReader>
#include <QPixmap>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

namespace tarvell {

namespace {

double relativeLuminance(const QColor &colour)
{
    const auto linear = [](float channel) {
        return channel <= 0.04045f ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

constexpr double kMinimumTextContrast = 4.5; // WCAG 2, level AA for body text

QFont songFont(int pointSize, bool bold)
{
    QFont font;
    // SimSun where Windows fonts are installed, else the free Song (Ming) faces that Debian
    // ships; the sans faces are a last resort before the toolkit's own fallback.
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("NSimSun"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Source Han Serif SC"),
                      QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL SungtiL GB"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")});
    font.setStyleHint(QFont::Serif);
    font.setPointSize(pointSize);
    font.setBold(bold);
    // Fully resolved, so that neither a parent's font nor the desktop's leaks into it.
    font.setResolveMask(QFont::AllPropertiesResolved);
    return font;
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette lightPalette()
{
    // Windows' light button face; Qt derives black text, white fields and grey shades from it.
    return QPalette(QColor(240, 240, 240));
}

QPalette readableOnWhite(const QPalette &desktop)
{
    struct Part
    {
        QPalette::ColorRole role;
        QPalette::ColorRole against; // NoRole: the white background itself
    };
    // Inks first: the surfaces are judged against the inks chosen for them.
    static constexpr std::array<Part, 11> kParts{{
        {QPalette::WindowText, QPalette::NoRole},
        {QPalette::Text, QPalette::NoRole},
        {QPalette::ButtonText, QPalette::NoRole},
        {QPalette::Dark, QPalette::NoRole},
        {QPalette::Mid, QPalette::NoRole},
        {QPalette::Shadow, QPalette::NoRole},
        {QPalette::Base, QPalette::Text},
        {QPalette::Window, QPalette::WindowText},
        {QPalette::Button, QPalette::ButtonText},
        {QPalette::Light, QPalette::WindowText},
        {QPalette::Midlight, QPalette::WindowText},
    }};
    const QPalette light = lightPalette();
    QPalette result = desktop;
    for (const Part &part : kParts) {
        const QColor against = part.against == QPalette::NoRole
                                   ? QColor(Qt::white)
                                   : result.color(QPalette::Active, part.against);
        if (contrastRatio(desktop.color(QPalette::Active, part.role), against) >=
            kMinimumTextContrast)
            continue;
        // A role comes whole from one theme, so its disabled and inactive looks stay a set.
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            result.setColor(group, part.role, light.color(group, part.role));
    }
    return result;
}

QFont captionFont(int pointSize)
{
    return songFont(pointSize, true);
}

QFont teamFont()
{
    return songFont(9, false);
}

QFont defaultFont()
{
    QFont font = QApplication::font();
    font.setFamilies({font.family(), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Source Han Sans SC"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("WenQuanYi Zen Hei")});
    // Fully resolved, so that a parent's caption font never leaks into it.
    font.setResolveMask(QFont::AllPropertiesResolved);
    return font;
}

QImage builtInPicture(const QString &path, const char *format)
{
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QIcon programIcon(int largestSize)
{
    QIcon icon;
    for (int size : {32, 48, 64, 128, 256}) {
        if (size > largestSize)
            break;
        icon.addPixmap(
            QPixmap::fromImage(builtInPicture(QStringLiteral(":/icons/%1.png").arg(size), "png")));
    }
    return icon;
}

} // namespace tarvell
