# Sourced by the other scripts: installs the Debian packages that a step needs. Every name
# exists on Debian 12 and Debian 13 alike.

# Compiler, build tools, Qt with its translations (a message box's buttons in the user's
# language) and a CJK font with a bold Song (serif) face, so no character renders as a
# missing-glyph box on a fresh machine: what building and running the program need.
BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev qt6-translations-l10n fonts-noto-cjk)
# GoogleTest, desktop-file checks, the fuzzers and the format check (window tests run offscreen).
# One clang for both releases, so the fuzzers and the format check behave the same on each.
TEST_PACKAGES=(libgtest-dev desktop-file-utils appstream clang-19 libclang-rt-19-dev clang-format-19)
# dpkg-shlibdeps computes the package's Depends; CPack finds the binaries with file; the
# metainfo follows the release's AppStream.
PACKAGE_PACKAGES=(dpkg-dev file appstream)
# Qt for Windows from Debian's qt6-base source, cross-built with MinGW-w64 and the host's Qt tools.
WINDOWS_QT_PACKAGES=(g++-mingw-w64-x86-64-posix cmake ninja-build perl qt6-base-dev dpkg-dev
    debian-archive-keyring patch xz-utils qt6-translations-l10n)
# The Windows build's tests and packages: GoogleTest's source, Wine on a headless X server with
# CJK fonts (a Song face drawn as SimSun is) and Qt's translations, NSIS for the installer, tools
# to drive and look at windows, and a network of loopback only for the tests.
WINDOWS_PACKAGES=(googletest wine64 xvfb xdotool imagemagick fonts-noto-cjk fonts-arphic-uming
    qt6-translations-l10n nsis zip unzip iproute2)

ensure_packages()
{
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q '^install ok installed$' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages: ${missing[*]}" >&2
        echo "Install them first:" >&2
        echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}
