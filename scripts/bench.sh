#!/usr/bin/env bash
# Builds the program and its two baselines (the floor and the bare window)
# and measures the program against them under Wine, on a private X server,
# printing one table of medians.
#   bash scripts/bench.sh [--reps N] [--clicks N] [--verbose]
#     --reps N    start-ups of each executable and click sessions (default 15)
#     --clicks N  program clicks in this process and from another (default 450)
#     --verbose   each run's figures and the slowest clicks, on stderr
# Environment: TESSARY_BUILD_DIR, the build folder (default build).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
BUILD=${TESSARY_BUILD_DIR:-build}

# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

build() {
    build_project "$BUILD" tessary_bench_runner
    [[ -f $BUILD/bench/runner.exe ]] || die "the build did not produce $BUILD/bench/runner.exe"
}

main() {
    say "checking the tools (scripts/setup.sh)"
    bash scripts/setup.sh
    build
    ws_start_session private
    say "measuring (this takes a minute or two)"
    local code=0
    wine "$BUILD/bench/runner.exe" "$@" || code=$?
    # The table stays the last thing printed.
    WS_QUIET_STOP=1
    ws_stop
    exit "$code"
}

main "$@"
