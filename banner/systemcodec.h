#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace tarvell {

// Text in an encoding (by the web's name for it: "GBK", "windows-1252") that Qt's own
// converters do not know on this system. Qt decodes legacy encodings with ICU where it has it;
// a Windows build has none, and there the system's code pages do it. Nothing when the system
// does not know the encoding either.
std::optional<QString> decodeWithSystemCodec(QByteArrayView bytes, QByteArrayView encoding);

} // namespace tarvell
