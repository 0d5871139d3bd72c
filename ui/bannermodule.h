#pragma once

namespace tarvell {

class BannerFactory;

// The banner module's factory, loaded on first use and kept for the life of the process; null
// if the module cannot be found or loaded (the banner then keeps its built-in picture).
// Looked for where the program is installed relative to the executable, then in Qt's library
// paths: next to the executable, and in QT_PLUGIN_PATH.
BannerFactory *bannerFactory();

} // namespace tarvell
