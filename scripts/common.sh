# Sourced by the commands in scripts/: their messages and the build they share.

say() { printf '==> %s\n' "$*"; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# build_project DIR [TARGET [CMAKE OPTIONS...]]: configures and builds into
# DIR, all targets (TARGET empty) or only TARGET (with what it depends on).
build_project() {
    local dir=$1 target=${2:-}
    shift $(($# < 2 ? $# : 2))
    say "configuring (cmake -S . -B $dir${*:+ $*})"
    cmake -S . -B "$dir" "$@" || die "cmake configure failed"
    say "building (cmake --build $dir -j2${target:+ --target $target})"
    cmake --build "$dir" -j2 ${target:+--target "$target"} || die "the build failed"
}
