#pragma once

#include <QImage>

namespace artgen {

inline constexpr int kBannerWidth = 468;
inline constexpr int kBannerHeight = 60;

// The maker's own advertising strip shown while no live banner has been fetched.
QImage bannerImage();

} // namespace artgen
