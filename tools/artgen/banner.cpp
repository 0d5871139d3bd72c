#include "banner.h"

#include "icons.h"
#include "logos.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace artgen {

namespace {

QFont letteringFont(int pixelSize, QFont::Weight weight)
{
    QFont font(kLetteringFamily);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

} // namespace

QImage bannerImage()
{
    QImage img(kBannerWidth, kBannerHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, kBannerWidth, 0);
    sky.setColorAt(0, QColor(0x12, 0x22, 0x44));
    sky.setColorAt(1, QColor(0x1f, 0x4f, 0x7a));
    p.fillRect(img.rect(), sky);

    // A faint centre-court circle behind the text keeps the strip from looking flat.
    p.setPen(QPen(QColor(255, 255, 255, 28), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(250, 30), 70, 70);
    p.drawLine(QPointF(250, 0), QPointF(250, kBannerHeight));

    p.fillRect(QRectF(0, kBannerHeight - 4, kBannerWidth, 4), kBallOrange);

    drawBasketball(p, QPointF(31, 28), 21);

    p.setFont(letteringFont(30, QFont::Bold));
    p.setPen(Qt::white);
    p.drawText(QRectF(62, 0, 140, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tarvell"));

    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawLine(QPointF(186, 14), QPointF(186, 42));

    p.setFont(letteringFont(19, QFont::Bold));
    p.setPen(QColor(0xff, 0xd5, 0x8a));
    p.drawText(QRectF(198, 0, 200, 56), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral(u"球队城市距离 一算便知"));

    const QPointF from(410, 48);
    const QPointF to(450, 38);
    drawRouteArc(p, from - QPointF(0, 15), to - QPointF(0, 15), 14, Qt::white, 2);
    const QColor ink(0x0b, 0x16, 0x2c);
    drawPin(p, from, 6.5, QColor(0x2a, 0x6f, 0xd6), ink);
    drawPin(p, to, 6.5, QColor(0xd8, 0x2c, 0x3a), ink);
    p.setFont(letteringFont(11, QFont::Bold));
    p.setPen(Qt::white);
    p.drawText(QRectF(416, 40, 30, 14), Qt::AlignCenter, QStringLiteral("km"));
    return img;
}

} // namespace artgen
