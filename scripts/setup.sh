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

# The Debian packages, as dpkg names them: NAME for this machine's
# architecture, NAME:i386 for 32-bit. What the release archive is made with:
# the program's compilers, CMake, Python for the archive, git for the commit
# and its time.
RELEASE_PACKAGES=(make cmake g++-mingw-w64-i686 binutils-mingw-w64-i686 python3 git)
# What building the MSVC-mode program, running and testing need besides:
# 32-bit Wine with the X libraries of its desktop, the X server and tools.
TEST_PACKAGES=(
    clang lld llvm googletest wine wine32:i386 fonts-wine
    libxrender1:i386 libxrandr2:i386 libxi6:i386 libxcursor1:i386 libxinerama1:i386
    libxcomposite1:i386 libxfixes3:i386
    xvfb xdotool shellcheck imagemagick util-linux coreutils
)
# What only a 64-bit prefix needs: 64-bit Wine with the X libraries of its
# desktop, and the x86-64 compiler of the tests' 64-bit caller.
WOW64_PACKAGES=(
    wine64 g++-mingw-w64-x86-64-posix
    libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3
)
PACKAGES=("${RELEASE_PACKAGES[@]}")

# Prints the packages of PACKAGES that dpkg does not have installed, one a line.
missing_packages() {
    { dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' "${PACKAGES[@]}" 2>/dev/null || true; } |
        awk -v native=":$(dpkg --print-architecture)" -v wanted="${PACKAGES[*]}" '
            $1 == "ii" { sub(native "$", "", $2); installed[$2] = 1 }
            END {
                n = split(wanted, names, " ")
                for (i = 1; i <= n; i++) if (!(names[i] in installed)) print names[i]
            }'
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
    printf 'error: these packages are missing: %s\n' "${1//$'\n'/ }" >&2
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
    require_root "$missing"
    if needs_i386 "$missing"; then enable_i386; fi
    install_packages "$missing"
    missing=$(missing_packages)
    if [[ -n $missing ]]; then
        die "still missing after installing: ${missing//$'\n'/ }"
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
        say "checking the tools that make the release"
    else
        platform=$(tessary_platform)
        PACKAGES+=("${TEST_PACKAGES[@]}")
        [[ $platform != win11-wow64 ]] || PACKAGES+=("${WOW64_PACKAGES[@]}")
        say "checking the build, Wine and X tools for $(platform_words "$platform")"
    fi
    install_missing_packages
    if [[ ${1:-} == --msvc-check ]]; then unpack_wine_sdk; fi
    say "everything needed is installed"
}

main "$@"
