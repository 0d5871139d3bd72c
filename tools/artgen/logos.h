#pragma once

#include "emblems.h"

#include "core/roster.h"

#include <QImage>
#include <QString>

namespace artgen {

using tarvell::kTeamCount;
inline constexpr int kLogoSize = 128;

enum class Badge { Circle, Shield, Hexagon, Square };

struct TeamArt
{
    Emblem emblem;
    Badge badge;
    QRgb field;
    QRgb trim;
    QRgb main;
    QRgb detail;
    QRgb accent;
};

// Art direction for team `index` (0-based, league order).
const TeamArt &teamArt(int index);

// The 128 x 128 logo of team `index`, flattened onto white.
QImage teamLogo(int index);

// The CJK family used for all lettering; the generator refuses to run without it so that the
// output never silently depends on whatever fallback font a machine has.
inline const QString kLetteringFamily = QStringLiteral("Noto Sans CJK SC");

} // namespace artgen
