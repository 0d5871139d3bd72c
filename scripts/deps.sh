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

# The cache outside the work tree for what is built once: Qt and the libraries for Windows.
tarvell_cache_root()
{
    echo "${TARVELL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tarvell}"
}

# Unpacks Debian's source package NAME at VERSION into the folder DEST. apt gets it through a
# set-up of its own under the cache folder (sources list, lists and package cache), naming only
# the host's archives whose Release files give Debian as their origin, with Debian's keyring:
# nothing under /etc or in the host's own lists changes, and third-party archives are not asked.
debian_source()
{
    local name=$1 version=$2 dest=$3 dir
    dir=$(tarvell_cache_root)/apt
    mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial" "$dir/parts" "$dest"
    local apt=(apt-get -o "Dir::Etc::SourceList=$dir/sources.list" -o "Dir::Etc::SourceParts=$dir/parts"
        -o "Dir::State::Lists=$dir/lists" -o "Dir::Cache=$dir/cache" -o APT::Sandbox::User=root)
    apt-get indextargets --format '$(ORIGIN) $(REPO_URI) $(RELEASE)' 'Identifier: Packages' 'Component: main' |
        awk '$1 == "Debian" {print $2, $3}' | sort -u |
        while read -r uri suite; do
            echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $suite main"
        done >"$dir/sources.list"
    if ! "${apt[@]}" source --print-uris -qq "$name=$version" >/dev/null 2>&1; then
        "${apt[@]}" update -qq
    fi
    (cd "$dest" && "${apt[@]}" source -qq "$name=$version")
}
