#!/usr/bin/env bash
# Runs one of the project's scripts inside a Debian root made with debootstrap,
# so that the build and the suite also run with that release's compilers and
# Wine, and the release is made with the same compilers on any machine.
#   bash scripts/debian-root.sh 13 scripts/test.sh [CTEST ARGUMENTS...]
#                                                     (test.sh --debian 13)
#   bash scripts/debian-root.sh 13 scripts/release.sh --here [...]  (release.sh)
# The root is made once per machine in /var/cache/tessary/debian-13, with
# scripts/setup.sh run inside it; .tessary-complete marks it finished, so a
# half-made root is made again. The clone is bind-mounted at its own path,
# and its build/, build-msvc/ and build-deps/ are covered by directories of
# the root (var/lib/tessary/clones/CLONE/), so that the host's builds, Wine
# prefix and Wine headers are left alone. Everything runs in a private mount
# namespace: no mount outlives the run. Needs root.
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
MOUNTS=()

[[ $(id -u) -eq 0 ]] || die "a Debian root needs root: run 'sudo bash scripts/test.sh --debian $release'"

# The mounts below are private to this process and its children, and go when
# they end, however they end.
if [[ ${TESSARY_MOUNT_NAMESPACE:-} != "$$" ]]; then
    command -v unshare >/dev/null || die "unshare (util-linux) is missing"
    exec env TESSARY_MOUNT_NAMESPACE=$$ unshare --mount --propagation private \
        bash "${BASH_SOURCE[0]}" "$release" "$script" "$@"
fi
unset TESSARY_MOUNT_NAMESPACE

# mount_at TARGET MOUNT ARGUMENTS...: mounts and remembers TARGET for unmount_all.
mount_at() {
    local target=$1
    shift
    mkdir -p "$target"
    mount "$@" "$target" || die "mount $* $target failed"
    MOUNTS+=("$target")
}

unmount_all() {
    local i
    for ((i = ${#MOUNTS[@]} - 1; i >= 0; i--)); do
        umount -R "${MOUNTS[i]}" 2>/dev/null || umount -l "${MOUNTS[i]}" 2>/dev/null || true
    done
    MOUNTS=()
}

# What Wine, apt and the build need of a running system, and the clone.
mount_all() {
    mount_at "$ROOT/proc" -t proc proc
    mount_at "$ROOT/sys" --rbind /sys
    mount_at "$ROOT/dev" --rbind /dev
    mountpoint -q "$ROOT/dev/pts" || mount_at "$ROOT/dev/pts" -t devpts -o newinstance,ptmxmode=0666 devpts
    mountpoint -q "$ROOT/dev/shm" || mount_at "$ROOT/dev/shm" -t tmpfs -o mode=1777 tmpfs
    # A fresh /tmp each run: no X server locks or Wine sockets of earlier runs.
    mount_at "$ROOT/tmp" -t tmpfs -o mode=1777 tmpfs
    # Removed first: a link there would lead the copy out of the root.
    rm -f "$ROOT/etc/resolv.conf"
    cp -L /etc/resolv.conf "$ROOT/etc/resolv.conf" || die "no /etc/resolv.conf to copy into the root"
    mount_at "$ROOT$REPO" --bind "$REPO"
    local clone=$ROOT/var/lib/tessary/clones/${REPO//\//_} dir
    for dir in "${BUILD_DIRS[@]}"; do
        mkdir -p "$clone/$dir" "$REPO/$dir"
        mount_at "$ROOT$REPO/$dir" --bind "$clone/$dir"
    done
}

# in_root COMMAND...: runs COMMAND in the root, with a clean environment but
# for the project's own TESSARY_ settings.
in_root() {
    local -a settings
    mapfile -t settings < <(env | grep '^TESSARY_' || true)
    chroot "$ROOT" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        "${settings[@]}" "$@"
}

install_debootstrap() {
    command -v debootstrap >/dev/null && return 0
    say "installing debootstrap (apt-get install debootstrap)"
    apt-get update -q -o DPkg::Lock::Timeout=600 || die "apt-get update failed"
    apt-get install -y -q -o DPkg::Lock::Timeout=600 debootstrap || die "apt-get install debootstrap failed"
}

make_root() {
    say "making the Debian $release root $ROOT (once per machine)"
    if [[ -e $ROOT ]]; then
        # Only this run's namespace can have mounts there: no other run holds
        # the lock.
        ! findmnt -rn -o TARGET | grep -q "^$ROOT/" || die "$ROOT has mounts; not removing it"
        rm -rf --one-file-system "$ROOT"
    fi
    install_debootstrap
    say "debootstrap $codename $ROOT $MIRROR"
    debootstrap --variant=minbase --arch=amd64 "$codename" "$ROOT" "$MIRROR" ||
        die "debootstrap failed (its log: $ROOT/debootstrap/debootstrap.log)"
    # No daemon of an installed package starts inside the root.
    printf '#!/bin/sh\nexit 101\n' >"$ROOT/usr/sbin/policy-rc.d"
    chmod 755 "$ROOT/usr/sbin/policy-rc.d"
    mount_all
    say "installing the build, Wine and X tools in the root (scripts/setup.sh)"
    in_root bash "$REPO/scripts/setup.sh" {lock}>&- || die "scripts/setup.sh failed in $ROOT"
    unmount_all
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
    mkdir -p "$(dirname "$ROOT")"
    exec {lock}>"$ROOT.lock"
    trap unmount_all EXIT
    trap 'exit 129' HUP
    trap 'exit 130' INT
    trap 'exit 143' TERM
    lock_root -s
    if [[ ! -f $MARKER ]]; then
        flock -u "$lock"
        lock_root -x
        [[ -f $MARKER ]] || make_root
        lock_root -s
    fi
    mount_all
    say "running $script in the Debian $release root $ROOT"
    local code=0
    in_root bash "$REPO/$script" "$@" {lock}>&- || code=$?
    exit "$code"
}

main "$@"
