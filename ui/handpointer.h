#pragma once

#include <QPoint>

namespace tarvell {

// Where the hand pointer over the credits line clicks: the fingertip of the 32 x 32 image in
// resources/hand.ico, as the artwork generator draws it.
inline constexpr QPoint kHandHotSpot(10, 30);

} // namespace tarvell
