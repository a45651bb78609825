#!/usr/bin/env bash
# Installs what building, running and testing the program need on Debian 12
# or 13, for the platform the Wine session will stand for (common.sh's
# tessary_platform: 64-bit Wine too for win11-wow64); with --msvc-check it
# also unpacks Wine's Windows headers for the MSVC-mode check build (test.sh
# asks for them, run.sh does not need them); with --release, only what making
# the release archive needs (release.sh).
# Run as root; when everything is already there it only checks and returns.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Wine's headers and i386 import libraries for the MSVC-mode check build,
# unpacked from libwine-dev:i386 rather than installed (cmake/wine-sdk.sh),
# where cmake/clang-cl-i686.cmake looks for them.
WINE_SDK=$REPO/build-deps/libwine-dev-i386

# Each line: the Debian package, then what shows it is installed
# (cmd:NAME for a command on PATH, file:PATH for a file), then "release" for
# what the release archive is made with (the program's compilers, CMake,
# Python for the archive, git for the commit and its time), or "wow64" for
# what only a 64-bit prefix needs: 64-bit Wine with the X libraries of its
# desktop, and the x86-64 compiler of the tests' 64-bit caller.
REQUIREMENTS=(
    "make cmd:make release"
    "cmake cmd:cmake release"
    "cmake cmd:ctest"
    "g++-mingw-w64-i686 cmd:i686-w64-mingw32-g++-posix release"
    "g++-mingw-w64-i686 cmd:i686-w64-mingw32-gcc-posix release"
    "binutils-mingw-w64-i686 cmd:i686-w64-mingw32-windres release"
    "clang cmd:clang"
    "lld cmd:lld-link"
    "llvm cmd:llvm-rc"
    "llvm cmd:llvm-mt"
    "llvm cmd:llvm-lib"
    "googletest file:/usr/src/googletest/CMakeLists.txt"
    "wine cmd:wine"
    "wine cmd:wineserver"
    "wine cmd:wineboot"
    "wine32:i386 file:/usr/lib/wine/wine"
    "fonts-wine file:/usr/share/wine/fonts/marlett.ttf"
    "libxrender1:i386 file:/usr/lib/i386-linux-gnu/libXrender.so.1"
    "libxrandr2:i386 file:/usr/lib/i386-linux-gnu/libXrandr.so.2"
    "libxi6:i386 file:/usr/lib/i386-linux-gnu/libXi.so.6"
    "libxcursor1:i386 file:/usr/lib/i386-linux-gnu/libXcursor.so.1"
    "libxinerama1:i386 file:/usr/lib/i386-linux-gnu/libXinerama.so.1"
    "libxcomposite1:i386 file:/usr/lib/i386-linux-gnu/libXcomposite.so.1"
    "libxfixes3:i386 file:/usr/lib/i386-linux-gnu/libXfixes.so.3"
    "xvfb cmd:Xvfb"
    "xdotool cmd:xdotool"
    "shellcheck cmd:shellcheck"
    "imagemagick file:/usr/bin/import"
    "util-linux cmd:flock"
    "util-linux cmd:taskset"
    "coreutils cmd:timeout"
    "python3 cmd:python3 release"
    "git cmd:git release"
    "wine64 file:/usr/lib/wine/wine64 wow64"
    "g++-mingw-w64-x86-64-posix cmd:x86_64-w64-mingw32-g++-posix wow64"
    "libxrender1 file:/usr/lib/x86_64-linux-gnu/libXrender.so.1 wow64"
    "libxrandr2 file:/usr/lib/x86_64-linux-gnu/libXrandr.so.2 wow64"
    "libxi6 file:/usr/lib/x86_64-linux-gnu/libXi.so.6 wow64"
    "libxcursor1 file:/usr/lib/x86_64-linux-gnu/libXcursor.so.1 wow64"
    "libxinerama1 file:/usr/lib/x86_64-linux-gnu/libXinerama.so.1 wow64"
    "libxcomposite1 file:/usr/lib/x86_64-linux-gnu/libXcomposite.so.1 wow64"
    "libxfixes3 file:/usr/lib/x86_64-linux-gnu/libXfixes.so.3 wow64"
)

present() {
    local check=$1
    case $check in
        cmd:*) command -v "${check#cmd:}" >/dev/null 2>&1 ;;
        file:*) [[ -e ${check#file:} ]] ;;
        *) die "setup.sh: unknown check '$check'" ;;
    esac
}

# Prints the packages whose checks fail, one a line, each once.
missing_packages() {
    local entry package check
    for entry in "${REQUIREMENTS[@]}"; do
        read -r package check _ <<<"$entry"
        present "$check" || printf '%s\n' "$package"
    done | awk '!seen[$0]++'
}

# Prints what a failed check was looking for, for the error message.
missing_checks() {
    local entry package check
    for entry in "${REQUIREMENTS[@]}"; do
        read -r package check _ <<<"$entry"
        present "$check" || printf '  %s (package %s)\n' "${check#*:}" "$package"
    done
}

needs_i386() {
    grep -q ':i386$' <<<"$1"
}

i386_enabled() {
    [[ $(dpkg --print-architecture) == i386 ]] ||
        dpkg --print-foreign-architectures | grep -qx i386
}

require_root() {
    [[ $(id -u) -eq 0 ]] && return 0
    printf 'error: these tools are missing:\n%s\n' "$(missing_checks)" >&2
    die "installing them needs root: run 'sudo bash scripts/setup.sh' (or run.sh/test.sh with sudo)"
}

enable_i386() {
    i386_enabled && return 0
    say "enabling the i386 architecture (dpkg --add-architecture i386)"
    dpkg --add-architecture i386 || die "dpkg --add-architecture i386 failed"
}

install_packages() {
    local -a packages
    mapfile -t packages <<<"$1"
    say "updating the package lists (apt-get update)"
    apt-get update -q || die "apt-get update failed: check the network and /etc/apt/sources.list"
    say "installing: ${packages[*]}"
    apt-get install -y -q -o DPkg::Lock::Timeout=300 "${packages[@]}" ||
        die "apt-get install failed for: ${packages[*]}"
}

install_missing_packages() {
    local missing
    missing=$(missing_packages)
    [[ -z $missing ]] && return 0
    require_root
    if needs_i386 "$missing"; then enable_i386; fi
    install_packages "$missing"
    missing=$(missing_packages)
    if [[ -n $missing ]]; then
        printf 'error: still missing after installing:\n%s\n' "$(missing_checks)" >&2
        exit 1
    fi
}

# The download needs i386 package lists; they may be gone (a cleaned image)
# even though everything is installed, so one failure updates them, as root.
unpack_wine_sdk() {
    [[ -f $WINE_SDK/.complete ]] && return 0
    bash "$REPO/cmake/wine-sdk.sh" "$WINE_SDK" && return 0
    [[ $(id -u) -eq 0 ]] ||
        die "unpacking libwine-dev:i386 failed: 'sudo bash scripts/setup.sh --msvc-check' updates the package lists"
    say "updating the package lists (apt-get update) and trying again"
    apt-get update -q || die "apt-get update failed: check the network and /etc/apt/sources.list"
    bash "$REPO/cmake/wine-sdk.sh" "$WINE_SDK" || die "unpacking libwine-dev:i386 failed"
}

main() {
    if ! command -v dpkg >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
        die "this script needs a Debian system with dpkg and apt-get"
    fi
    local platform
    if [[ ${1:-} == --release ]]; then
        mapfile -t REQUIREMENTS < <(printf '%s\n' "${REQUIREMENTS[@]}" | grep ' release$')
        say "checking the tools that make the release"
    else
        platform=$(tessary_platform)
        if [[ $platform != win11-wow64 ]]; then
            mapfile -t REQUIREMENTS < <(printf '%s\n' "${REQUIREMENTS[@]}" | grep -v ' wow64$')
        fi
        say "checking the build, Wine and X tools for $(platform_words "$platform")"
    fi
    install_missing_packages
    if [[ ${1:-} == --msvc-check ]]; then unpack_wine_sdk; fi
    say "everything needed is installed"
}

main "$@"
