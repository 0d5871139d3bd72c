# Sourced by the other scripts: installs the Debian 12 packages that a step needs.

# Compiler, build tools, Qt with its translations (a message box's buttons in the user's
# language) and a CJK font with a bold Song (serif) face, so no character renders as a
# missing-glyph box on a fresh machine: what building and running the program need.
BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev qt6-translations-l10n fonts-noto-cjk)
# GoogleTest, desktop-file checks, the fuzzers and the format check (window tests run offscreen).
TEST_PACKAGES=(libgtest-dev desktop-file-utils appstream clang libclang-rt-14-dev clang-format)
# dpkg-shlibdeps computes the package's Depends; CPack finds the binaries with file.
PACKAGE_PACKAGES=(dpkg-dev file)

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
