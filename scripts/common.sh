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
