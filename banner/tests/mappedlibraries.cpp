#include "mappedlibraries.h"

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>

namespace tarvell::test {

QStringList tlsLibrariesMapped()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression tls(
        QStringLiteral("/(libssl|libcrypto|libgnutls)[^/]*\\.so|/tls/[^/]*backend[^/]*\\.so"));
    QStringList found;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        const qsizetype path = line.indexOf('/');
        const QString file = path < 0 ? QString() : QString::fromLocal8Bit(line.mid(path));
        if (!file.isEmpty() && tls.match(file).hasMatch() && !found.contains(file))
            found << file;
    }
    found.sort();
    return found;
}

} // namespace tarvell::test
