#!/usr/bin/env bash
# Builds the program and runs it under Wine.
#
# With a working DISPLAY the program opens on that display and the script
# waits until it is closed. Without one it runs on a private X server inside a
# Wine virtual desktop: the script waits for the window, activates it with a
# click on its caption, makes a few choices, saves a screenshot of
# the desktop as build/screenshot.png, closes the program (WM_CLOSE) and
# prints its exit code. Either way the script exits with the program's code.
#
# Environment:
#   TESSARY_BEFORE_SCREENSHOT  shell code run (eval) once the window is shown
#                              and before the screenshot; it can use DISPLAY,
#                              TESSARY_WINDOW (X id of the main window) and
#                              TESSARY_DESKTOP_WINDOW (X id of the desktop).
#                              By default it makes a few choices with the
#                              keyboard: "Stretch", then Act On "Width".
#   TESSARY_DESKTOP_SIZE       virtual desktop size (default 800x600)
#   TESSARY_WINDOW_TIMEOUT     seconds to wait for the window (default 60)
#   TESSARY_PAINT_DELAY        seconds to let it paint (default 1)

# Some functions are only called through ws_wait or the exit hooks.
# shellcheck disable=SC2317
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
REPO=$PWD
EXE=build/tessary.exe
TITLE="Ferrolyn Tessary"
SHOT=build/screenshot.png
# By full path: Wine matches the virtual desktop setting by the program's path.
TASKKILL='C:\windows\system32\taskkill.exe'
APP_PID=

# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh

# Only the program: the tests and the benchmark are test.sh's and bench.sh's.
# The build needs no Wine, so it runs while the Wine session starts (the first
# run creates the Wine prefix, which takes about as long); its output is shown
# when it is done.
start_build() {
    BUILD_LOG=$(mktemp "${TMPDIR:-/tmp}/tessary-build.XXXXXX")
    build_project build tessary >"$BUILD_LOG" 2>&1 &
    BUILD_PID=$!
}

finish_build() {
    local code=0
    wait "$BUILD_PID" || code=$?
    cat "$BUILD_LOG"
    rm -f "$BUILD_LOG"
    ((code == 0)) || exit "$code"
    [[ -f $EXE ]] || die "the build did not produce $EXE"
}

app_running() { kill -0 "$APP_PID" 2>/dev/null; }

# Prints the X id of the visible main window; status 2 once the program ended.
find_window() {
    app_running || return 2
    local id
    id=$(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n 1) || true
    [[ -n $id ]] || return 1
    TESSARY_WINDOW=$id
}

app_stopped() { ! app_running; }

# Waits for the program to end and sets APP_CODE to its exit code.
collect_exit_code() {
    APP_CODE=0
    wait "$APP_PID" || APP_CODE=$?
    APP_PID=
    say "tessary.exe exited with code $APP_CODE"
}

# Forced end, only if closing it failed or the script is interrupted.
kill_app() {
    if [[ -z $APP_PID ]] || ! app_running; then return 0; fi
    printf 'warning: ending tessary.exe by force\n' >&2
    timeout 20 wine "$TASKKILL" /f /im tessary.exe >/dev/null 2>&1 || true
    ws_wait 10 "tessary.exe to end" app_stopped || kill "$APP_PID" 2>/dev/null || true
}

run_on_user_display() {
    say "running $EXE on DISPLAY=$DISPLAY (close its window to finish)"
    APP_CODE=0
    wine "$EXE" || APP_CODE=$?
    say "tessary.exe exited with code $APP_CODE"
}

# The start-up click activates the window while it is still hidden, and
# Wine's virtual desktop then draws its caption inactive until the window is
# activated again: a click on the desktop beside it, then one on the middle of
# its caption, as a user would bring it to the front.
activate_window() {
    local width
    width=$(xdotool getwindowgeometry --shell "$TESSARY_WINDOW" | sed -n 's/^WIDTH=//p')
    xdotool mousemove --window "$TESSARY_DESKTOP_WINDOW" 10 10 click 1
    sleep 0.3
    xdotool mousemove --window "$TESSARY_WINDOW" $((width / 2)) 8 click 1
    sleep 0.5
}

find_desktop_window() {
    TESSARY_DESKTOP_WINDOW=$(xdotool search --name "^$WS_DESKTOP_NAME - Wine desktop\$" \
        2>/dev/null | head -n 1) || true
}

# The virtual desktop's window, or the whole screen if there is none.
take_screenshot() {
    local target=${TESSARY_DESKTOP_WINDOW:-root}
    say "saving a screenshot of the desktop to $SHOT"
    timeout 30 import -window "$target" "$SHOT" || die "taking the screenshot failed (import)"
}

close_app() {
    say "closing the program (WM_CLOSE via wine taskkill)"
    timeout 30 wine "$TASKKILL" /im tessary.exe >/dev/null 2>&1 ||
        printf 'warning: wine taskkill did not succeed\n' >&2
    if ! ws_wait 30 "tessary.exe to exit after WM_CLOSE" app_stopped; then
        kill_app
        collect_exit_code
        die "tessary.exe did not exit after WM_CLOSE"
    fi
}

run_headless() {
    local window_timeout=${TESSARY_WINDOW_TIMEOUT:-60}
    say "starting $EXE in a Wine virtual desktop"
    wine "$EXE" &
    APP_PID=$!
    ws_on_exit kill_app
    say "waiting for the window \"$TITLE\" (up to ${window_timeout}s)"
    if ! ws_wait "$window_timeout" "the window \"$TITLE\"" find_window; then
        if ! app_running; then
            collect_exit_code
            die "tessary.exe ended before its window \"$TITLE\" appeared"
        fi
        die "the window \"$TITLE\" did not appear within ${window_timeout}s"
    fi
    sleep "${TESSARY_PAINT_DELAY:-1}"
    find_desktop_window
    export TESSARY_WINDOW TESSARY_DESKTOP_WINDOW
    say "activating the window with a click on its caption"
    activate_window
    local choices='xdotool key --delay 150 Down Down Down Tab Down Down Down Down; sleep 1'
    say "making a few choices before the screenshot"
    eval "${TESSARY_BEFORE_SCREENSHOT-$choices}"
    take_screenshot
    close_app
    collect_exit_code
    say "screenshot: $REPO/$SHOT"
}

main() {
    say "checking the tools (scripts/setup.sh)"
    bash scripts/setup.sh
    start_build
    if [[ -n ${DISPLAY:-} ]] && ws_display_works; then
        ws_start_session auto
    else
        [[ -z ${DISPLAY:-} ]] || say "DISPLAY=$DISPLAY cannot be opened; running headless"
        ws_start_session private "${TESSARY_DESKTOP_SIZE:-800x600}"
    fi
    finish_build
    if ((WS_PRIVATE_DISPLAY)); then run_headless; else run_on_user_display; fi
    exit "$APP_CODE"
}

main "$@"
