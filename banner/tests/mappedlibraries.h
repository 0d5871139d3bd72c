#pragma once

namespace tarvell::test {

// Whether OpenSSL's libraries are mapped into this process. Qt loads them on the first use of
// anything TLS, and plain http must never cost their memory and start-up time.
bool tlsLibraryMapped();

} // namespace tarvell::test
