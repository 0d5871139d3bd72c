# Sourced by the other scripts: installs the Debian packages that a step needs. Every name
# exists on Debian 12 and Debian 13 alike.

# Compiler, build tools, Qt with its translations (a message box's buttons in the user's
# language), gumbo (the banner's HTML parser) and a CJK font with a bold Song (serif) face, so
# no character renders as a missing-glyph box on a fresh machine: what building and running the
# program need.
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-translations-l10n fonts-noto-cjk
    libgumbo-dev)
# GoogleTest, desktop-file checks, the fuzzers and the format check (window tests run offscreen).
# One clang for both releases, so the fuzzers and the format check behave the same on each.
TEST_PACKAGES=(libgtest-dev desktop-file-utils appstream openssl python3 iproute2 util-linux clang-19 libclang-rt-19-dev clang-format-19)
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
    qt6-translations-l10n nsis zip unzip iproute2 openssl python3)

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

# apt with a set-up of its own under the cache folder (sources list, lists and package cache),
# naming only the host's archives whose Release files give Debian as their origin, with Debian's
# keyring, for the host's suites and any SUITES given: nothing under /etc or in the host's own
# lists changes, and third-party archives are not asked. Sets the array private_apt.
private_apt_for()
{
    local dir
    dir=$(tarvell_cache_root)/apt
    mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial" "$dir/parts"
    private_apt=(apt-get -o "Dir::Etc::SourceList=$dir/sources.list" -o "Dir::Etc::SourceParts=$dir/parts"
        -o "Dir::State::Lists=$dir/lists" -o "Dir::Cache=$dir/cache" -o APT::Sandbox::User=root)
    local list
    list=$({
        apt-get indextargets --format '$(ORIGIN) $(REPO_URI) $(RELEASE)' 'Identifier: Packages' 'Component: main' |
            awk '$1 == "Debian" {print $2, $3}'
        local suite
        for suite in "$@"; do
            apt-get indextargets --format '$(ORIGIN) $(REPO_URI) $(RELEASE)' 'Identifier: Packages' \
                'Component: main' | awk -v s="$suite" '$1 == "Debian" && $3 !~ /-security$/ {print $2, s}'
        done
    } | sort -u | while read -r uri suite; do
        echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $suite main"
    done)
    if [ "$list" != "$(cat "$dir/sources.list" 2>/dev/null)" ]; then
        echo "$list" >"$dir/sources.list"
        rm -f "$dir/lists/"*_Sources* 2>/dev/null || true
    fi
}

# Unpacks Debian's source package NAME at VERSION into the folder DEST.
debian_source()
{
    local name=$1 version=$2 dest=$3
    private_apt_for
    mkdir -p "$dest"
    if ! "${private_apt[@]}" source --print-uris -qq "$name=$version" >/dev/null 2>&1; then
        "${private_apt[@]}" update -qq
    fi
    (cd "$dest" && "${private_apt[@]}" source -qq "$name=$version")
}

# The newest upstream source of Debian's package NAME in SUITE, as Debian's archive holds it
# (the .orig tarball, checked against the signed index), unpacked into DEST. Prints the
# package version it belongs to.
debian_upstream_source()
{
    local name=$1 suite=$2 dest=$3 uris line uri file hash version
    private_apt_for "$suite"
    mkdir -p "$dest"
    uris=$("${private_apt[@]}" source --print-uris -qq "$name/$suite" 2>/dev/null) || true
    if [ -z "$uris" ]; then
        "${private_apt[@]}" update -qq >&2
        uris=$("${private_apt[@]}" source --print-uris -qq "$name/$suite")
    fi
    line=$(grep -F '.orig.tar.' <<<"$uris" | head -n1)
    read -r uri file _ hash <<<"$line"
    uri=${uri//\'/}
    /usr/lib/apt/apt-helper -o APT::Sandbox::User=root download-file "$uri" "$dest/$file" "$hash" >&2
    tar -xf "$dest/$file" -C "$dest"
    version=$(sed -n "s/^'[^']*'[[:space:]]\+${name}_\([^ ]*\)\.dsc .*/\1/p" <<<"$uris")
    echo "$version"
}
