#!/usr/bin/env bash
# The Wine session never uses a prefix made for another platform, by another
# Wine, or not by its own scripts: the project's own (build/wineprefix) is
# made again, one the user named is refused with a message that says what to
# delete. Wine itself is not run: making a prefix only leaves its record.
#   bash tests/wineprefix.sh SOURCE-DIR
set -uo pipefail
# shellcheck source=scripts/wine-session.sh
source "$1/scripts/wine-session.sh"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
WS_TMP=$WORK
WS_REPO=$WORK/repo

wine() { printf 'wine-10.0 (Debian 10.0~repack-6)\n'; }
wineserver() { :; }
ws_create_prefix() {
    mkdir -p "$WINEPREFIX"
    printf 'WINE REGISTRY Version 2\n#arch=%s\n' "$WINEARCH" >"$WINEPREFIX/system.reg"
    printf '%s\n' "$1" >"$WINEPREFIX/.tessary-prefix"
    : >"$WINEPREFIX/made-now"
}

# prefix FOLDER ARCH [RECORD]: a prefix as an earlier run left it.
prefix() {
    mkdir -p "$1"
    printf 'WINE REGISTRY Version 2\n#arch=%s\n' "$2" >"$1/system.reg"
    [[ -z ${3:-} ]] || printf '%s\n' "$3" >"$1/.tessary-prefix"
}

W10='wine-10.0 (Debian 10.0~repack-6)'
W8='wine-8.0 (Debian 8.0~repack-4)'
failures=0
# row WHO PLATFORM ARCH RECORD EXPECTED: WHO is "own" (build/wineprefix) or
# "named" (WINEPREFIX set by the user); ARCH the #arch of its registry, or
# "empty" for an empty folder, "absent" for none; EXPECTED is used, made or
# refused.
row() {
    local who=$1 platform=$2 arch=$3 record=$4 expected=$5 folder outcome message
    rm -rf "$WORK/repo" "$WORK/named"
    folder=$WORK/named
    [[ $who == own ]] && folder=$WORK/repo/build/wineprefix
    case $arch in
        absent) arch= ;;
        empty) mkdir -p "$folder" && arch= ;;
        *) prefix "$folder" "$arch" "$record" ;;
    esac
    if ! message=$(
        unset WINEPREFIX
        [[ $who == named ]] && export WINEPREFIX=$folder
        export TESSARY_PLATFORM=$platform
        ws_setup_env && ws_prepare_prefix 2>&1
    ); then
        outcome=refused
        [[ $message == *"rm -rf '$folder'"* ]] || outcome="refused without naming what to delete"
        [[ -f $folder/.tessary-prefix && $(cat "$folder/.tessary-prefix") != "$record" ]] &&
            outcome="refused after changing the prefix"
    elif [[ -f $folder/made-now ]]; then
        outcome=made
    else
        outcome=used
    fi
    if [[ $outcome != "$expected" ]]; then
        printf 'FAIL: %s prefix (%s, record "%s") for %s: %s, expected %s\n%s\n' \
            "$who" "${arch:-no registry}" "$record" "$platform" "$outcome" "$expected" "$message"
        failures=$((failures + 1))
    fi
}

row own win11-wow64 win64 "win11-wow64 win64 $W10" used
row own win11-wow64 win32 "win7-x86 win32 $W10" made
row own win7-x86 win32 "win7-x86 win32 $W8" made
row own win11-wow64 win32 "win11-wow64 win64 $W10" made
row own win11-wow64 win64 "" made
row named win11-wow64 win64 "win11-wow64 win64 $W10" used
row named win11-wow64 win32 "win7-x86 win32 $W10" refused
row named win7-x86 win32 "win7-x86 win32 $W8" refused
row named win11-wow64 win64 "" refused
row named win11-wow64 empty "" made
row named win7-x86 absent "" made

((failures == 0)) || exit 1
echo "every prefix was used, made again or refused as its kind asks"
