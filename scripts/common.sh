# Sourced by the commands in scripts/: their messages and the build they share.

say() { printf '==> %s\n' "$*"; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# build_project DIR [TARGET...]: configures and builds into DIR, all targets
# or only the TARGETs (with what they depend on).
build_project() {
    local dir=$1 targets=()
    shift
    (($#)) && targets=(--target "$@")
    say "configuring (cmake -S . -B $dir)"
    cmake -S . -B "$dir" || die "cmake configure failed"
    say "building (cmake --build $dir -j2${*:+ --target $*})"
    cmake --build "$dir" -j2 "${targets[@]}" || die "the build failed"
}
