#include "logos.h"

#include "core/roster.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace artgen {

namespace {

// One row per team, in the roster's order.
// clang-format off
constexpr TeamArt kTeams[kTeamCount] = {
    {Emblem::Wolf,       Badge::Shield,  0x1e3a5f, 0x9fd3a8, 0xc9d1d9, 0x0f1c2e, 0x9fd3a8},
    {Emblem::Nugget,     Badge::Circle,  0x24395e, 0xf2b632, 0xf2b632, 0x5a3d0c, 0xffffff},
    {Emblem::Trail,      Badge::Hexagon, 0x2b2b2b, 0xe5542b, 0x8a9aa6, 0x111111, 0xe5542b},
    {Emblem::Bolt,       Badge::Circle,  0x2a6fb5, 0xffd23f, 0xffd23f, 0x10335a, 0xffffff},
    {Emblem::Note,       Badge::Square,  0x6a2c70, 0x3fc1c9, 0x3fc1c9, 0x2a0f2e, 0xffffff},
    {Emblem::Calf,       Badge::Shield,  0x3d8fd6, 0xf3e6c8, 0x8b5a2b, 0x2b1a0b, 0xf2b5a7},
    {Emblem::Rocket,     Badge::Circle,  0xa11d2d, 0xe8e8e8, 0xf2f2f2, 0x2c2c2c, 0xffc233},
    {Emblem::Paw,        Badge::Hexagon, 0x5b3a1e, 0xd9a86c, 0xd9a86c, 0xf5ead8, 0xf5ead8},
    {Emblem::Spur,       Badge::Shield,  0x2f3a45, 0xc0c7ce, 0xd3d9de, 0x1a1f24, 0xb08d57},
    {Emblem::Hornet,     Badge::Circle,  0x127c7c, 0xf7c823, 0xf7c823, 0x1b1b1b, 0xffffff},
    {Emblem::Clipper,    Badge::Shield,  0x1d4fa0, 0xffffff, 0xffffff, 0x0d2350, 0xd6343f},
    {Emblem::Canoe,      Badge::Circle,  0x55307f, 0xf0b429, 0xf0b429, 0x1f0f33, 0xe9ddff},
    {Emblem::Swords,     Badge::Hexagon, 0x3f5228, 0xd4a24c, 0xdfe5ea, 0x1e2614, 0xd4a24c},
    {Emblem::Crown,      Badge::Shield,  0x7a1f3d, 0xf1c84b, 0xf1c84b, 0x3a0c1b, 0x35c2e0},
    {Emblem::Sun,        Badge::Circle,  0x1e2a5a, 0xffb627, 0xffb627, 0x10173a, 0xff6b1a},
    {Emblem::Knot,       Badge::Square,  0x2f8f46, 0xffffff, 0xffffff, 0x17462a, 0xffffff},
    {Emblem::Net,        Badge::Square,  0x3d3d6b, 0xffffff, 0xffffff, 0x1d1d36, 0xff8a3d},
    {Emblem::Skyline,    Badge::Hexagon, 0x0e7490, 0xf97316, 0xe6f4f8, 0x083b4a, 0xf97316},
    {Emblem::Bell,       Badge::Shield,  0x1e3a8a, 0xe23b3b, 0xe8c27a, 0x3b2a0a, 0xe23b3b},
    {Emblem::Claws,      Badge::Circle,  0x3f3f46, 0xef4444, 0xef4444, 0x000000, 0xffffff},
    {Emblem::Hawk,       Badge::Shield,  0xc2410c, 0xfff4e0, 0xfff4e0, 0x2a1405, 0xffc23d},
    {Emblem::Flame,      Badge::Circle,  0x1c1917, 0xff6a13, 0xff6a13, 0x000000, 0xffd23d},
    {Emblem::Bobcat,     Badge::Hexagon, 0xa23b72, 0xf5d7b4, 0xd9a066, 0x2a160c, 0xf4a3a8},
    {Emblem::Star,       Badge::Circle,  0x6d28d9, 0xe5e7eb, 0xe5e7eb, 0x2e1065, 0x38bdf8},
    {Emblem::WizardHat,  Badge::Square,  0xbe123c, 0x1e293b, 0x1e293b, 0x0b1120, 0xf6c343},
    {Emblem::Bull,       Badge::Shield,  0xdc2626, 0x1b1b1b, 0x1b1b1b, 0x000000, 0xf2e6cf},
    {Emblem::Helmet,     Badge::Hexagon, 0x701a3a, 0xf2b632, 0xcfd6dc, 0x2a0a16, 0xf2b632},
    {Emblem::Piston,     Badge::Circle,  0x2563eb, 0xe11d48, 0xe5e7eb, 0x1e293b, 0xe11d48},
    {Emblem::Antlers,    Badge::Shield,  0x166534, 0xf0e6cc, 0xa9744a, 0x2a1a0b, 0xf0e6cc},
    {Emblem::Footprints, Badge::Square,  0xf59e0b, 0x12325e, 0x12325e, 0x06152b, 0xffffff},
};
// clang-format on

QPainterPath badgeOutline(Badge badge)
{
    QPainterPath path;
    switch (badge) {
    case Badge::Circle:
        path.addEllipse(QPointF(64, 60), 54, 54);
        break;
    case Badge::Shield:
        path.moveTo(14, 8);
        path.lineTo(114, 8);
        path.lineTo(114, 58);
        path.cubicTo(114, 92, 90, 110, 64, 122);
        path.cubicTo(38, 110, 14, 92, 14, 58);
        path.closeSubpath();
        break;
    case Badge::Hexagon: {
        QPolygonF hex;
        for (int i = 0; i < 6; ++i) {
            const qreal a = qDegreesToRadians(-90.0 + 60.0 * i);
            hex << QPointF(64 + 58 * qCos(a), 62 + 58 * qSin(a));
        }
        path.addPolygon(hex);
        path.closeSubpath();
        break;
    }
    case Badge::Square:
        path.addRoundedRect(QRectF(10, 8, 108, 108), 18, 18);
        break;
    }
    return path;
}

QPainterPath shrunk(const QPainterPath &path, qreal factor)
{
    const QPointF c = path.boundingRect().center();
    return QTransform::fromTranslate(c.x(), c.y())
        .scale(factor, factor)
        .translate(-c.x(), -c.y())
        .map(path);
}

void drawRibbon(QPainter &p, const TeamArt &team, const QString &name)
{
    const QColor trim = QColor::fromRgb(team.trim);
    const QColor fold = trim.darker(150);
    p.setPen(Qt::NoPen);
    p.setBrush(fold);
    p.drawPolygon(QPolygonF({{4, 96}, {22, 96}, {22, 116}, {4, 116}, {11, 106}}));
    p.drawPolygon(QPolygonF({{124, 96}, {106, 96}, {106, 116}, {124, 116}, {117, 106}}));
    p.setBrush(trim);
    p.drawRect(QRectF(14, 90, 100, 22));

    QFont font(kLetteringFamily);
    font.setPixelSize(17);
    font.setWeight(QFont::Bold);
    // Two-character names are spread out a little so all ribbons read with a similar width.
    if (name.size() == 2)
        font.setLetterSpacing(QFont::AbsoluteSpacing, 5);
    p.setFont(font);
    // Dark lettering on a light ribbon, white on a dark one.
    p.setPen(qGray(team.trim) > 135 ? QColor::fromRgb(team.field).darker(115) : QColor(Qt::white));
    QRectF box(14, 90, 100, 22);
    if (name.size() == 2)
        box.translate(2.5, 0); // letter spacing also trails the last glyph
    p.drawText(box, Qt::AlignCenter, name);
}

} // namespace

const TeamArt &teamArt(int index)
{
    Q_ASSERT(index >= 0 && index < kTeamCount);
    return kTeams[index];
}

QImage teamLogo(int index)
{
    const TeamArt &team = teamArt(index);
    QImage img(kLogoSize, kLogoSize, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QPainterPath outline = badgeOutline(team.badge);
    const QColor trim = QColor::fromRgb(team.trim);
    const QColor field = QColor::fromRgb(team.field);
    p.setPen(QPen(field.darker(160), 7));
    p.setBrush(field);
    p.drawPath(outline);
    p.setPen(QPen(trim, 3.5));
    p.drawPath(outline);
    p.setPen(QPen(trim, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shrunk(outline, 0.88));

    p.save();
    p.setClipPath(outline);
    p.translate(64, 52);
    p.scale(0.62, 0.62);
    drawEmblem(p, team.emblem,
               {field, QColor::fromRgb(team.main), QColor::fromRgb(team.detail),
                QColor::fromRgb(team.accent)});
    p.restore();

    // The ribbon spells the team's caption without the spaces that pad two-character names.
    const std::u16string_view caption = tarvell::kRoster[static_cast<std::size_t>(index)].caption;
    drawRibbon(p, team,
               QString::fromUtf16(caption.data(), static_cast<qsizetype>(caption.size()))
                   .remove(QLatin1Char(' ')));
    return img;
}

} // namespace artgen
