#!/usr/bin/env bash
# Runs one of the project's scripts inside a Debian root made with debootstrap,
# so that the build and the suite also run with that release's compilers and
# Wine, and the release is made with the same compilers on any machine.
#   bash scripts/debian-root.sh 13 scripts/test.sh [CTEST ARGUMENTS...]
#                                                     (test.sh --debian 13)
#   bash scripts/debian-root.sh 13 scripts/release.sh --here [...]  (release.sh)
# The root is made once per machine in /var/cache/tessary/debian-13, with
# scripts/setup.sh run inside it; .tessary-complete marks it finished, so a
# half-made root is made again. bwrap (bubblewrap) enters it, in mount and
# process namespaces of the run's own: no mount or process outlives the run.
# The clone is bound at its own path, and its build/, build-msvc/ and
# build-deps/ are covered by directories of the root
# (var/lib/tessary/clones/CLONE/), so that the host's builds, Wine prefix and
# Wine headers are left alone. Needs root.
set -euo pipefail

# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
MIRROR=http://deb.debian.org/debian
BUILD_DIRS=(build build-msvc build-deps)

release=${1:-}
script=${2:-}
case $release in
    13) codename=trixie ;;
    *) die "usage: bash scripts/test.sh --debian 13 [CTEST ARGUMENTS...] (13 is the release supported)" ;;
esac
[[ $script == scripts/*.sh && -f $REPO/$script ]] || die "no script of the project to run: '$script'"
shift 2

ROOT=/var/cache/tessary/debian-$release
MARKER=$ROOT/.tessary-complete

[[ $(id -u) -eq 0 ]] || die "a Debian root needs root: run 'sudo bash scripts/test.sh --debian $release'"

# host_tool COMMAND PACKAGE: installs PACKAGE unless COMMAND is there.
host_tool() {
    command -v "$1" >/dev/null && return 0
    say "installing $2 (apt-get install $2)"
    apt-get update -q -o DPkg::Lock::Timeout=600 || die "apt-get update failed"
    apt-get install -y -q -o DPkg::Lock::Timeout=600 "$2" || die "apt-get install $2 failed"
}

# in_root COMMAND...: runs COMMAND in the root, with a clean environment but
# for the project's own TESSARY_ settings, and what Wine, apt and the build
# need of a running system: /proc, /sys, the host's /dev (its /dev/shm holds
# the CPU locks of scripts/cpu-affinity.sh, which a run on the host shares), a
# fresh /tmp (no X server locks or Wine sockets of earlier runs), the host's
# name servers, and the clone.
in_root() {
    local clone=$ROOT/var/lib/tessary/clones/${REPO//\//_} dir name
    local -a options=(--bind "$ROOT" / --proc /proc --bind /sys /sys --dev-bind /dev /dev
        --perms 1777 --tmpfs /tmp --ro-bind /etc/resolv.conf /etc/resolv.conf --bind "$REPO" "$REPO")
    for dir in "${BUILD_DIRS[@]}"; do
        mkdir -p "$clone/$dir" "$REPO/$dir"
        options+=(--bind "$clone/$dir" "$REPO/$dir")
    done
    options+=(--clearenv --setenv HOME /root --setenv LANG C.UTF-8 --setenv TERM "${TERM:-dumb}"
        --setenv PATH /usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
    for name in $(compgen -e TESSARY_); do options+=(--setenv "$name" "${!name}"); done
    bwrap "${options[@]}" --unshare-pid --die-with-parent --cap-add ALL -- "$@"
}

make_root() {
    say "making the Debian $release root $ROOT (once per machine)"
    if [[ -e $ROOT ]]; then
        # The mounts of bwrap and debootstrap are their own: any here are
        # someone else's.
        ! findmnt -rn -o TARGET | grep -q "^$ROOT/" || die "$ROOT has mounts; not removing it"
        rm -rf --one-file-system "$ROOT"
    fi
    host_tool debootstrap debootstrap
    say "debootstrap $codename $ROOT $MIRROR"
    unshare --mount debootstrap --variant=minbase --arch=amd64 "$codename" "$ROOT" "$MIRROR" ||
        die "debootstrap failed (its log: $ROOT/debootstrap/debootstrap.log)"
    # No daemon of an installed package starts inside the root.
    printf '#!/bin/sh\nexit 101\n' >"$ROOT/usr/sbin/policy-rc.d"
    chmod 755 "$ROOT/usr/sbin/policy-rc.d"
    say "installing the build, Wine and X tools in the root (scripts/setup.sh)"
    in_root bash "$REPO/scripts/setup.sh" {lock}>&- || die "scripts/setup.sh failed in $ROOT"
    touch "$MARKER"
}

# lock_root -s|-x: takes the root's lock, shared by the runs that use a
# finished root (each clone has build directories of its own), exclusive to
# the run that makes it.
lock_root() {
    flock -n "$1" "$lock" && return 0
    say "waiting for another run that holds $ROOT.lock"
    flock -w 1800 "$1" "$lock" || die "$ROOT.lock stayed taken for 30 minutes"
}

main() {
    host_tool bwrap bubblewrap
    mkdir -p "$(dirname "$ROOT")"
    exec {lock}>"$ROOT.lock"
    lock_root -s
    if [[ ! -f $MARKER ]]; then
        flock -u "$lock"
        lock_root -x
        [[ -f $MARKER ]] || make_root
        lock_root -s
    fi
    say "running $script in the Debian $release root $ROOT"
    in_root bash "$REPO/$script" "$@" {lock}>&-
}

main "$@"
