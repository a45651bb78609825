#!/usr/bin/env bash
# Builds the program and its tests, and the program in MSVC mode (the
# msvc-check preset: clang-cl, into build-msvc/), and runs the tests with CTest
# under Wine, on a private X server (never the user's display), all in one Wine
# virtual desktop that stays open for the whole run. The main build learns the
# MSVC-mode program's path from the cache variable TESSARY_MSVC_EXE.
#   bash scripts/test.sh [CTEST ARGUMENTS...]     e.g. bash scripts/test.sh -R Focus
#   bash scripts/test.sh --debian 13 [CTEST ARGUMENTS...]
#     the same inside a Debian 13 root made once per machine
#     (scripts/debian-root.sh)
# Every test has its own CTest time-out (tests/CMakeLists.txt); the long runs
# of docs/testing.md, asked for through the environment, lift them.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

if [[ ${1:-} == --debian ]]; then
    exec bash scripts/debian-root.sh "${2:-}" scripts/test.sh "${@:3}"
fi

# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh

# shellcheck source=scripts/cpu-latency.sh
source scripts/cpu-latency.sh

# shellcheck source=scripts/cpu-affinity.sh
source scripts/cpu-affinity.sh

run_tests() {
    say "running the tests (ctest --test-dir build)"
    local code=0
    # Two at a time, but only tests that keep to hidden windows of their own
    # run beside another: the rest share the desktop (RESOURCE_LOCK).
    ctest --test-dir build --output-on-failure --no-tests=error --parallel 2 "$@" || code=$?
    return "$code"
}

MSVC_EXE=$PWD/build-msvc/tessary.exe

build_msvc_check() {
    say "building the program in MSVC mode (cmake --preset msvc-check)"
    cmake --preset msvc-check || die "cmake configure failed (msvc-check preset)"
    cmake --build --preset msvc-check -j2 || die "the MSVC-mode build failed"
    [[ -f $MSVC_EXE ]] || die "the MSVC-mode build did not produce $MSVC_EXE"
}

main() {
    say "checking the tools (scripts/setup.sh --msvc-check)"
    bash scripts/setup.sh --msvc-check
    build_msvc_check
    build_project build -- -DTESSARY_MSVC_EXE="$MSVC_EXE"
    # The builds use every CPU; the X server, the wineserver and the tests one.
    cpu_pin_one
    ws_start_session private "${TESSARY_DESKTOP_SIZE:-1024x768}"
    ws_hold_desktop build/tests/support/desktopholder.exe
    cpu_latency_hold
    local code=0
    run_tests "$@" || code=$?
    # CTest's summary stays the last thing printed.
    WS_QUIET_STOP=1
    ws_stop
    exit "$code"
}

main "$@"
