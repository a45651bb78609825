#!/usr/bin/env bash
# Unpacks Debian's libwine-dev:i386 (Wine's Windows headers and i386 import
# libraries) into DIR for the clang-cl check build, without installing it:
# installed, it pulls in the i386 C library's development files and moves
# shared amd64 packages along with them. Needs no root, only the package lists
# of an i386-enabled apt (scripts/setup.sh enables i386 for Wine).
#   bash cmake/wine-sdk.sh DIR
# DIR/include holds the headers (windows/, msvcrt/), DIR/lib each import
# library under the NAME.lib name lld-link searches for.
set -euo pipefail

dir=${1:?usage: wine-sdk.sh DIR}
[[ -f $dir/.complete ]] && exit 0

say() { printf '==> %s\n' "$*"; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

if ! command -v apt-get >/dev/null || ! command -v dpkg-deb >/dev/null; then
    die "unpacking Wine's headers needs apt-get and dpkg-deb (Debian)"
fi

mkdir -p "$(dirname "$dir")"
# Unpacked beside DIR and renamed at the end, so that an interrupted run
# leaves nothing that looks complete.
tmp=$(mktemp -d "$dir.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
# Readable by every user, as an installed package would be.
chmod 755 "$tmp"

# As root, apt would hand the download to its unprivileged user, who cannot
# write to the private folder; it would warn and download as root anyway.
sandbox=()
[[ $(id -u) -eq 0 ]] && sandbox=(-o APT::Sandbox::User=root)
say "downloading libwine-dev:i386 (apt-get download) for the clang-cl check build"
(cd "$tmp" && apt-get download -q "${sandbox[@]}" libwine-dev:i386) ||
    die "apt-get download libwine-dev:i386 failed: it needs i386 package lists (scripts/setup.sh)"
dpkg-deb -x "$tmp"/libwine-dev_*_i386.deb "$tmp/deb"

mv "$tmp/deb/usr/include/wine/wine" "$tmp/include"
mv "$tmp/deb/usr/lib/i386-linux-gnu/wine/i386-windows" "$tmp/import"
mkdir "$tmp/lib"
for archive in "$tmp"/import/lib*.a; do
    name=${archive##*/lib}
    ln -s "../import/lib$name" "$tmp/lib/${name%.a}.lib"
done
rm -rf "$tmp/deb" "$tmp"/libwine-dev_*_i386.deb
touch "$tmp/.complete"

rm -rf "$dir"
mv "$tmp" "$dir"
say "Wine's headers and import libraries are in $dir"
