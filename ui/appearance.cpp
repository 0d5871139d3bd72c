#include "ui/appearance.h"

#include <QApplication>
#include <QImageReader>
#include <QPixmap>
#include <QStringList>

namespace tarvell {

QFont captionFont(int pointSize)
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
    font.setBold(true);
    return font;
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
