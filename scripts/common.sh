# shellcheck shell=bash
# Sourced by the commands in scripts/: their messages and the build they share.

say() { printf '==> %s\n' "$*"; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# project_version: the version that CMakeLists.txt gives the project.
project_version() {
    sed -n 's/^project(Tessary VERSION \([0-9.]*\).*/\1/p' "$(dirname "${BASH_SOURCE[0]}")/../CMakeLists.txt"
}

# build_project DIR [TARGET...] [-- CMAKE OPTION...]: configures DIR (with the
# options) and builds all targets, or only the TARGETs with what they depend on.
build_project() {
    local dir=$1 targets=() options=()
    shift
    while (($#)) && [[ $1 != -- ]]; do
        targets+=("$1")
        shift
    done
    if (($#)); then
        shift
        options=("$@")
    fi
    say "configuring (cmake -S . -B $dir${options[*]:+ ${options[*]}})"
    cmake -S . -B "$dir" "${options[@]}" || die "cmake configure failed"
    say "building (cmake --build $dir -j2${targets[*]:+ --target ${targets[*]}})"
    cmake --build "$dir" -j2 ${targets[@]:+--target "${targets[@]}"} || die "the build failed"
}

# The platform that a Wine session stands for, from TESSARY_PLATFORM:
#   win7-x86     32-bit Windows 7: a 32-bit Wine prefix;
#   win11-wow64  64-bit Windows 11 running the 32-bit program under WOW64, as
#                most users have it: a 64-bit Wine prefix.
# Without it, the first with Debian 12's Wine 8 and the second with the Wine
# of later releases, so that .ci/run's two runs stand for one each.
tessary_platform() {
    local platform=${TESSARY_PLATFORM:-} release
    if [[ -z $platform ]]; then
        # shellcheck source=/dev/null
        release=$(. /etc/os-release 2>/dev/null && printf '%s' "${VERSION_ID:-}")
        platform=win11-wow64
        [[ $release == 12 ]] && platform=win7-x86
    fi
    case $platform in
        win7-x86 | win11-wow64) printf '%s\n' "$platform" ;;
        *) die "TESSARY_PLATFORM=$platform names no platform: win7-x86 or win11-wow64" ;;
    esac
}

# platform_words PLATFORM: how the messages name it.
platform_words() {
    case $1 in
        win7-x86) printf '32-bit Windows 7 (a 32-bit Wine prefix)\n' ;;
        win11-wow64) printf '64-bit Windows 11, the program under WOW64 (a 64-bit Wine prefix)\n' ;;
    esac
}
