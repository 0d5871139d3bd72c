#include "banner/systemcodec.h"

namespace tarvell {

// Qt's converters (with ICU) already know every charset this system does.
std::optional<QString> decodeWithSystemCodec(QByteArrayView, QByteArrayView)
{
    return std::nullopt;
}

} // namespace tarvell
