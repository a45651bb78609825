# shellcheck shell=bash
# Some variables here are read only by the scripts that source this file.
# shellcheck disable=SC2034
# Wine session helpers for the project's scripts: source this file (it brings
# common.sh with it), then call ws_start_session. It provides an X display (a
# private Xvfb when asked or when there is none), a project-local Wine prefix
# and one persistent wineserver for the whole run, and stops what it started
# when the script exits.
#
# Environment it honours:
#   WINEPREFIX            prefix to use (default: <repo>/build/wineprefix);
#                         one made for another platform or by another Wine is
#                         refused, the default one is made again
#   WINEDEBUG             default -all
#   WINEDLLOVERRIDES      default "mscoree,mshtml=" (prefix creation offers
#                         no add-on downloads)
#   TESSARY_XVFB_SCREEN   private Xvfb screen (default 1024x768x24)
#   TESSARY_WINE_UNMANAGED  1: Wine draws window frames itself (see below)
#   TESSARY_PLATFORM      the Windows the session stands for (common.sh's
#                         tessary_platform): the prefix is made for it
#
# After ws_start_session these are exported: DISPLAY, WINEPREFIX, WINEARCH,
# WINEDEBUG, WINEDLLOVERRIDES, TESSARY_PLATFORM; WS_PRIVATE_DISPLAY is 1 when
# the display is a private Xvfb.

WS_REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/common.sh
source "$WS_REPO/scripts/common.sh"
WS_TMP=
WS_XVFB_PID=
WS_HOLDER_PID=
WS_OWN_WINESERVER=0
WS_PRIVATE_DISPLAY=0
WS_LOCK_FD=
WS_QUIET_STOP=${WS_QUIET_STOP:-0}
WS_STOPPED=0
WS_EXIT_HOOKS=()
WS_DESKTOP_NAME=Tessary

ws_err() { printf 'error: %s\n' "$*" >&2; }

# ws_wait SECONDS DESCRIPTION COMMAND...
# Runs COMMAND every 0.2 s until it succeeds (returns 0). A return of 1 means
# "not yet"; any other status gives up at once. Fails with a message on time-out.
ws_wait() {
    local secs=$1 what=$2 rc
    shift 2
    local end=$((SECONDS + secs))
    while :; do
        rc=0
        "$@" || rc=$?
        case $rc in
            0) return 0 ;;
            1) ;;
            *) ws_err "gave up waiting for $what"; return 1 ;;
        esac
        if ((SECONDS >= end)); then
            ws_err "timed out after ${secs}s waiting for $what"
            return 1
        fi
        sleep 0.2
    done
}

# Shows the end of a log file on stderr, to explain a failure.
ws_show_log() {
    [[ -s $1 ]] || return 0
    printf -- '--- last lines of %s ---\n' "$1" >&2
    tail -n 20 "$1" >&2
}

# ws_logged SECONDS LOG MESSAGE COMMAND...: runs COMMAND with a time-out, its
# output added to LOG; when it fails, says MESSAGE and shows the end of LOG.
ws_logged() {
    local secs=$1 log=$2 message=$3 code=0
    shift 3
    timeout "$secs" "$@" >>"$log" 2>&1 || code=$?
    ((code == 0)) && return 0
    ((code == 124)) && message+=": timed out after ${secs}s"
    ws_err "$message"
    ws_show_log "$log"
    return 1
}

# ws_on_exit COMMAND: run COMMAND (with eval) when the session stops, before
# the wineserver and the X server are stopped.
ws_on_exit() { WS_EXIT_HOOKS+=("$1"); }

ws_make_tmp() {
    [[ -n $WS_TMP ]] || WS_TMP=$(mktemp -d "${TMPDIR:-/tmp}/tessary-wine.XXXXXX")
}

ws_install_traps() {
    trap ws_stop EXIT
    trap 'exit 129' HUP
    trap 'exit 130' INT
    trap 'exit 143' TERM
}

# --- X display -------------------------------------------------------------

ws_xvfb_ready() {
    kill -0 "$WS_XVFB_PID" 2>/dev/null || return 2
    [[ -s $WS_TMP/display ]]
}

# Starts a private Xvfb on a free display number and exports DISPLAY.
ws_start_xvfb() {
    local screen=${TESSARY_XVFB_SCREEN:-1024x768x24}
    ws_make_tmp
    : >"$WS_TMP/display"
    say "starting a private X server (Xvfb, screen $screen)"
    Xvfb -displayfd 9 -screen 0 "$screen" -nolisten tcp -noreset \
        9>"$WS_TMP/display" >"$WS_TMP/xvfb.log" 2>&1 &
    WS_XVFB_PID=$!
    if ! ws_wait 30 "Xvfb to start" ws_xvfb_ready; then
        ws_show_log "$WS_TMP/xvfb.log"
        return 1
    fi
    DISPLAY=:$(tr -dc '0-9' <"$WS_TMP/display")
    export DISPLAY
    WS_PRIVATE_DISPLAY=1
    say "Xvfb runs on DISPLAY=$DISPLAY (pid $WS_XVFB_PID)"
}

ws_display_works() {
    [[ -n ${DISPLAY:-} ]] && timeout 10 xdotool getdisplaygeometry >/dev/null 2>&1
}

# ws_start_display private|auto: "auto" keeps a working DISPLAY, if any.
ws_start_display() {
    if [[ $1 == auto ]] && [[ -n ${DISPLAY:-} ]]; then
        if ws_display_works; then
            say "using the display DISPLAY=$DISPLAY"
            return 0
        fi
        say "DISPLAY=$DISPLAY cannot be opened; using a private X server instead"
    fi
    ws_start_xvfb
}

# --- Wine prefix and wineserver -------------------------------------------

ws_setup_env() {
    TESSARY_PLATFORM=$(tessary_platform)
    export TESSARY_PLATFORM
    # Set, never left to Wine: with wine64 installed a new prefix would be
    # 64-bit by default.
    export WINEARCH=win32
    [[ $TESSARY_PLATFORM == win11-wow64 ]] && WINEARCH=win64
    export WINEPREFIX=${WINEPREFIX:-$WS_REPO/build/wineprefix}
    WINEPREFIX=$(realpath -m "$WINEPREFIX")
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
}

# One script session per prefix at a time: they would share one wineserver.
ws_lock_prefix() {
    local lock=$WINEPREFIX.lock
    mkdir -p "$(dirname "$WINEPREFIX")"
    exec {WS_LOCK_FD}>"$lock"
    if ! flock -w 10 "$WS_LOCK_FD"; then
        ws_err "another script session is using the Wine prefix $WINEPREFIX (lock $lock)"
        ws_err "wait for it to finish, or set WINEPREFIX to another directory"
        return 1
    fi
}

ws_wineserver_running() { wineserver -k0 >/dev/null 2>&1; }

# What the prefix was made for and by, as its .tessary-prefix records it:
# "win11-wow64 win64 wine-10.0 (Debian 10.0~repack-6)".
ws_wanted_kind() { printf '%s %s %s\n' "$TESSARY_PLATFORM" "$WINEARCH" "$(wine --version)"; }

# Prints what the existing prefix is, when it is not what this session
# wants; nothing when it is.
ws_foreign_prefix() {
    local wanted=$1 made arch
    made=$(cat "$WINEPREFIX/.tessary-prefix" 2>/dev/null) || made=
    arch=$(sed -n 's/^#arch=//p' "$WINEPREFIX/system.reg" 2>/dev/null | head -n 1)
    [[ -n $made && $made == "$wanted" && "$arch" == "$WINEARCH" ]] && return 0
    if [[ -n $made ]]; then
        printf 'made for %s\n' "$made"
    elif [[ -n $arch ]]; then
        printf 'a %s prefix without the record of these scripts (made elsewhere, or left unfinished)\n' "$arch"
    else
        printf 'not a finished Wine prefix\n'
    fi
}

# The Windows version the platform reports, as winecfg names it.
ws_windows_version() {
    case $TESSARY_PLATFORM in
        win7-x86) printf 'win7\n' ;;
        win11-wow64) printf 'win11\n' ;;
    esac
}

ws_create_prefix() {
    local log=$WS_TMP/wineboot.log wanted=$1 version
    version=$(ws_windows_version)
    if ws_wineserver_running; then
        say "stopping the wineserver of the unfinished prefix $WINEPREFIX"
        timeout 30 wineserver -k >/dev/null 2>&1 || true
    fi
    say "creating the Wine prefix $WINEPREFIX for $(platform_words "$TESSARY_PLATFORM") (once, takes about 10 seconds)"
    ws_logged 300 "$log" "creating the Wine prefix failed (wineboot -i)" wineboot -i || return 1
    # Platform.IsTheOneTheRunStandsFor checks what the system then reports.
    ws_logged 60 "$log" "the Wine prefix does not take the Windows version $version (winecfg /v)" \
        wine winecfg /v "$version" || return 1
    ws_logged 120 "$log" "the wineserver did not finish setting up the prefix (wineserver -w)" \
        wineserver -w || return 1
    if [[ $(sed -n 's/^#arch=//p' "$WINEPREFIX/system.reg" 2>/dev/null | head -n 1) != "$WINEARCH" ]]; then
        ws_err "the Wine prefix $WINEPREFIX is not a $WINEARCH prefix after wineboot -i"
        ws_show_log "$log"
        return 1
    fi
    printf '%s\n' "$wanted" >"$WINEPREFIX/.tessary-prefix"
}

# Debian's Wine looks for its own fonts (the dialog font, the symbols of the
# caption buttons, ...) outside /usr/share/wine/fonts where fonts-wine puts
# them, but it does read the prefix's C:\windows\Fonts: link them there.
ws_link_wine_fonts() {
    local src=/usr/share/wine/fonts dst=$WINEPREFIX/drive_c/windows/Fonts font
    [[ -d $src && -d $dst ]] || return 0
    for font in "$src"/*; do
        [[ -e $dst/${font##*/} ]] || ln -s "$font" "$dst/"
    done
}

# Wine refuses a prefix that belongs to another user (e.g. made with sudo).
ws_check_prefix_owner() {
    [[ -e $WINEPREFIX ]] || return 0
    local owner
    owner=$(stat -c %u "$WINEPREFIX")
    [[ $owner == "$(id -u)" ]] && return 0
    ws_err "the Wine prefix $WINEPREFIX belongs to user id $owner, not to you ($(id -u))"
    ws_err "run as that user, remove the prefix, or set WINEPREFIX to another directory"
    return 1
}

# A prefix made for another platform, by another Wine or left unfinished is
# never used: the project's own is made again, one the user named is refused.
ws_prepare_prefix() {
    local wanted foreign own
    wanted=$(ws_wanted_kind)
    own=$(realpath -m "$WS_REPO/build/wineprefix")
    # An empty folder is as good as none.
    if [[ -n $(ls -A "$WINEPREFIX" 2>/dev/null) ]]; then
        foreign=$(ws_foreign_prefix "$wanted")
        if [[ -n $foreign && $WINEPREFIX != "$own" ]]; then
            ws_err "the Wine prefix $WINEPREFIX is $foreign; this run needs one made for $wanted"
            ws_err "delete it (rm -rf '$WINEPREFIX') or set WINEPREFIX to another directory"
            return 1
        fi
        if [[ -n $foreign ]]; then
            say "the Wine prefix $WINEPREFIX is $foreign: making it again"
            timeout 30 wineserver -k >/dev/null 2>&1 || true
            rm -rf --one-file-system "$WINEPREFIX"
        fi
    fi
    [[ -f $WINEPREFIX/.tessary-prefix ]] || ws_create_prefix "$wanted" || return 1
    ws_link_wine_fonts
}

ws_start_wineserver() {
    if ws_wineserver_running; then
        say "using the wineserver already running for $WINEPREFIX"
        return 0
    fi
    say "starting a persistent wineserver"
    ws_logged 30 "$WS_TMP/wineserver.log" "wineserver -p failed" wineserver -p || return 1
    WS_OWN_WINESERVER=1
    ws_wait 30 "the wineserver to start" ws_wineserver_running
}

# ws_window_settings SIZE: writes this session's window settings. With SIZE
# (e.g. 800x600) every program of the session opens in one Wine virtual
# desktop of that size; without it they open as ordinary windows.
# This is the session's first Wine program: Wine's background programs start
# with it and keep its output, a log file, rather than the output pipe of a
# test or a build step.
ws_window_settings() {
    local size=$1 managed='-' desktop='-' reg=$WS_TMP/session.reg
    # Wine's default: top-level windows are left to a window manager. With
    # TESSARY_WINE_UNMANAGED=1 Wine draws their frames itself and does not
    # wait up to 2 s for a window manager when one is hidden: faster on a
    # bare Xvfb, but activation across threads then differs from Windows.
    [[ ${TESSARY_WINE_UNMANAGED:-0} == 1 ]] && managed='"N"'
    [[ -n $size ]] && desktop="\"$WS_DESKTOP_NAME\""
    {
        printf 'REGEDIT4\n\n'
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"=%s\n\n' "$managed"
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n"Desktop"=%s\n\n' "$desktop"
        if [[ -n $size ]]; then
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"%s"="%s"\n\n' \
                "$WS_DESKTOP_NAME" "$size"
        fi
    } >"$reg"
    ws_logged 60 "$WS_TMP/wine-services.log" "could not write the Wine session settings (wine reg import)" \
        env -C "$WS_TMP" wine reg import session.reg
}

ws_desktop_shown() {
    xdotool search --name "^$WS_DESKTOP_NAME - Wine desktop\$" >/dev/null 2>&1
}

# ws_hold_desktop PROGRAM: runs PROGRAM, which must stay running without a
# window of its own, in the session's virtual desktop. Wine closes a virtual
# desktop that no program uses and opens it again for the next program, at a
# cost of seconds each time; held, it stays open until the session stops.
ws_hold_desktop() {
    local holder=$1
    say "holding the virtual desktop open with $holder"
    wine "$holder" >>"$WS_TMP/wine-services.log" 2>&1 &
    WS_HOLDER_PID=$!
    # shellcheck disable=SC2016 # expanded when the hook runs
    ws_on_exit 'kill "$WS_HOLDER_PID" 2>/dev/null || true'
    ws_wait 60 "the virtual desktop to open" ws_desktop_shown
}

# ws_start_session private|auto [DESKTOP]
#   private: always a fresh private Xvfb; auto: the user's DISPLAY if it works.
#   DESKTOP: e.g. 800x600 to open the programs of WS_DESKTOP_APPS in a Wine
#   virtual desktop, an X window named "Tessary - Wine desktop".
ws_start_session() {
    local display_mode=${1:-auto} desktop=${2:-}
    ws_install_traps
    ws_make_tmp
    ws_setup_env
    ws_start_display "$display_mode" || return 1
    say "this run stands for $(platform_words "$TESSARY_PLATFORM"): TESSARY_PLATFORM=$TESSARY_PLATFORM"
    say "using the Wine prefix $WINEPREFIX"
    ws_check_prefix_owner || return 1
    ws_lock_prefix || return 1
    ws_prepare_prefix || return 1
    ws_start_wineserver || return 1
    ws_window_settings "$desktop" || return 1
}

ws_stop_wineserver() {
    ((WS_OWN_WINESERVER)) || return 0
    ((WS_QUIET_STOP)) || say "stopping the wineserver"
    timeout 30 wineserver -k >/dev/null 2>&1 || true
    ws_wait 30 "the wineserver to stop" ws_wineserver_stopped || true
    WS_OWN_WINESERVER=0
}

ws_wineserver_stopped() { ! ws_wineserver_running; }

ws_stop_xvfb() {
    [[ -n $WS_XVFB_PID ]] || return 0
    ((WS_QUIET_STOP)) || say "stopping the private X server"
    kill "$WS_XVFB_PID" 2>/dev/null || true
    ws_wait 10 "Xvfb to stop" ws_xvfb_stopped || kill -KILL "$WS_XVFB_PID" 2>/dev/null || true
    wait "$WS_XVFB_PID" 2>/dev/null || true
    WS_XVFB_PID=
}

ws_xvfb_stopped() { ! kill -0 "$WS_XVFB_PID" 2>/dev/null; }

# Stops what the session started; safe to call more than once.
ws_stop() {
    local status=$? hook
    ((WS_STOPPED)) && return "$status"
    WS_STOPPED=1
    set +e
    # A reader of our output that is gone (a pipe killed with us) must not
    # stop the clean-up half-way, with the wineserver still holding the lock.
    trap '' PIPE
    for hook in "${WS_EXIT_HOOKS[@]}"; do eval "$hook"; done
    ws_stop_wineserver
    ws_stop_xvfb
    [[ -n $WS_LOCK_FD ]] && exec {WS_LOCK_FD}>&-
    [[ -n $WS_TMP ]] && rm -rf "$WS_TMP"
    return "$status"
}
