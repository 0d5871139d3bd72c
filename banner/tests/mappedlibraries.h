#pragma once

#include <QStringList>

namespace tarvell::test {

// The TLS libraries mapped into this process: OpenSSL's and GnuTLS's, and Qt's own TLS
// backends. Qt loads its backend, and OpenSSL with it, on the first use of anything TLS, and
// plain http must never cost their memory and start-up time. Some builds of Qt Network link
// libraries that bring a TLS library in when the process starts (Debian 13's proxy resolver,
// through curl), so what counts is what a fetch adds. Read from /proc on Linux and from the
// list of loaded modules on Windows.
QStringList tlsLibrariesMapped();

} // namespace tarvell::test
