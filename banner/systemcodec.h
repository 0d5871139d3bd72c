#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace tarvell {

// Text in a charset that Qt's own converters do not know on this system. Qt decodes legacy
// charsets such as GBK with ICU where it has it; a Windows build has none, and there the
// system's code pages do it. Nothing when the system does not know the charset either.
std::optional<QString> decodeWithSystemCodec(QByteArrayView bytes, QByteArrayView charset);

} // namespace tarvell
