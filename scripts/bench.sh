#!/usr/bin/env bash
# Builds the program and its two baselines (the floor and the bare window)
# and measures the program against them under Wine, on a private X server in
# one Wine virtual desktop held open for the run, as the tests run, printing
# one table of medians.
#   bash scripts/bench.sh [--reps N] [--clicks N] [--verbose]
#     --reps N    start-ups of each executable (default 15)
#     --clicks N  clicks on the program, and as many on the floor (default 450)
#     --verbose   each start-up's figures on stderr, and the details after
#                 the table
# The table's header names the commit measured, the day and the Wine.
# Environment: TESSARY_BUILD_DIR, the build folder (default build).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
BUILD=${TESSARY_BUILD_DIR:-build}

# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh

build() {
    build_project "$BUILD" tessary_bench_runner tessary_desktop_holder
    [[ -f $BUILD/bench/runner.exe ]] || die "the build did not produce $BUILD/bench/runner.exe"
}

# The commit measured, for the table's header, marked when files differ from it.
measured_commit() {
    local commit
    commit=$(git rev-parse --short HEAD 2>/dev/null) || return 0
    git diff --quiet HEAD -- 2>/dev/null || commit="$commit (with changes not committed)"
    printf '%s\n' "$commit"
}

main() {
    say "checking the tools (scripts/setup.sh)"
    bash scripts/setup.sh
    build
    # Hiding or destroying a shown window waits seconds for a window manager
    # on a bare X server; in a virtual desktop it does not.
    ws_start_session private "${TESSARY_DESKTOP_SIZE:-1024x768}"
    ws_hold_desktop "$BUILD/tests/support/desktopholder.exe"
    say "measuring (this takes a minute or two)"
    local code=0
    TESSARY_BENCH_COMMIT=$(measured_commit) TESSARY_EXE=$BUILD/tessary.exe \
        wine "$BUILD/bench/runner.exe" "$@" || code=$?
    # The table stays the last thing printed.
    WS_QUIET_STOP=1
    ws_stop
    exit "$code"
}

main "$@"
