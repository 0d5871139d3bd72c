#include "mappedlibraries.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

#include <iterator>
#include <vector>

namespace tarvell::test {

QStringList tlsLibrariesMapped()
{
    // The modules Windows has loaded into this process, as its own API lists them.
    std::vector<HMODULE> modules(256);
    DWORD needed = 0;
    for (;;) {
        const DWORD size = DWORD(modules.size() * sizeof(HMODULE));
        if (!EnumProcessModules(GetCurrentProcess(), modules.data(), size, &needed))
            return {};
        if (needed <= size)
            break;
        modules.resize(needed / sizeof(HMODULE));
    }
    modules.resize(needed / sizeof(HMODULE));

    QStringList found;
    for (HMODULE module : modules) {
        wchar_t path[MAX_PATH * 2];
        const DWORD length = GetModuleFileNameW(module, path, DWORD(std::size(path)));
        if (length == 0 || length >= std::size(path))
            continue;
        const QString file = QDir::fromNativeSeparators(QString::fromWCharArray(path, int(length)));
        const QFileInfo info(file);
        const QString name = info.fileName().toLower();
        const bool isTls = name.startsWith(u"libssl") || name.startsWith(u"libcrypto") ||
                           (info.dir().dirName().toLower() == u"tls" && name.contains(u"backend"));
        if (isTls && !found.contains(file))
            found << file;
    }
    found.sort();
    return found;
}

} // namespace tarvell::test
