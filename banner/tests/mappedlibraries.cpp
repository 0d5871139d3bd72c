#include "mappedlibraries.h"

#include <QByteArray>
#include <QFile>

namespace tarvell::test {

bool tlsLibraryMapped()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    const QByteArray mapped = maps.readAll();
    return mapped.contains("/libssl.so") || mapped.contains("/libcrypto.so");
}

} // namespace tarvell::test
