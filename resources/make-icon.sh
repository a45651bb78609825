#!/bin/bash
# Regenerates tessary.ico from the per-size drawings tessary-48/32/24/16.svg.
# Each size has its own drawing so the small ones can be tuned pixel by pixel.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/tessary.ico}

need() {
    if ! command -v "$1" >/dev/null 2>&1; then
        echo "make-icon.sh: '$1' not found; install the Debian package: apt-get install $2" >&2
        exit 1
    fi
}
need rsvg-convert librsvg2-bin
need python3 python3

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

pngs=()
# Largest first: the order the loader sees in the icon directory.
for size in 48 32 24 16; do
    rsvg-convert --width="$size" --height="$size" --format=png \
        --output="$tmp/$size.png" "$here/tessary-$size.svg"
    pngs+=("$tmp/$size.png")
done

python3 "$here/make-icon.py" "$out" "${pngs[@]}"
python3 "$here/make-icon.py" --list "$out"
