#!/usr/bin/env bash
# Makes the release in the project's Debian 13 root (scripts/debian-root.sh,
# made with debootstrap when missing), so that any Linux machine with root
# gives the same bytes, whatever compilers it has itself. Leaves in release/:
#   tessary-<version>-win32.zip        the program and its read-me
#   tessary-<version>-win32.buildinfo  what shaped the bytes: the commit, the
#                                      archive's time stamp, the image of the
#                                      release workflow, every package's version
#   tessary-<version>-win32.sha256     the sums of the three files above
#
#   bash scripts/release.sh
#   bash scripts/release.sh --compare PATH/tessary-<version>-win32.sha256
#     makes the release again and says whether every file that sums file names
#     is the same bytes; exit status 0 when all are, 1 when one is not
#   bash scripts/release.sh --here
#     the same steps on this machine, which must be Debian 13: what the root
#     runs, and what the release workflow's container runs
# The comparison exits with 2 when the sums file cannot be read.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
REPO=$PWD

# shellcheck source=scripts/common.sh
source scripts/common.sh

# The container the release workflow makes the release in
# (.github/workflows/windows.yml); a root made with debootstrap gets the same
# packages from Debian 13's archive.
IMAGE=debian:trixie-20260918@sha256:9cc080028c43b27d2074d63a5f9caf7166d731494965616c1a6d2827a004585c
OUT=$REPO/release

# packages_of FILE...: the Debian packages that hold the files, one a line.
packages_of() {
    local file
    for file in "$@"; do
        [[ $file == /* ]] || file=$(command -v "$file") || die "no $file on PATH"
        file=$(realpath "$file")
        # Usr-merged files may be registered under /lib rather than /usr/lib.
        dpkg-query -S "$file" 2>/dev/null || dpkg-query -S "${file#/usr}" 2>/dev/null ||
            die "no Debian package holds $file"
    done | sed 's/: .*//; s/, /\n/g'
}

# libraries_of PROGRAM...: the shared libraries the programs load.
libraries_of() {
    local program
    for program in "$@"; do
        [[ $program == /* ]] || program=$(command -v "$program")
        ldd "$program" | awk '$2 == "=>" && $3 ~ /^\// { print $3 } $1 ~ /^\// { print $1 }'
    done
}

# write_buildinfo BUILD NAME COMMIT EPOCH FILE
write_buildinfo() {
    local build=$1 name=$2 commit=$3 epoch=$4 file=$5 cxx program python i
    local -a lines translators drivers
    mapfile -t lines <"$build/release-tools.txt"
    for ((i = 0; i < ${#lines[@]}; i++)); do
        [[ ${lines[i]} == -- ]] && break
    done
    translators=("${lines[@]:0:i}")
    drivers=("${lines[@]:i+1}")
    cxx=${translators[0]}
    python=${translators[-1]}
    # The compiler's own programs, the assembler and the linker among them.
    for program in cc1plus cc1 collect2 as ld; do
        translators+=("$("$cxx" -print-prog-name="$program")")
    done
    # What writes the archive: Python's zip and zlib modules, wherever they live.
    mapfile -t -O "${#drivers[@]}" drivers < <("$python" -c 'import zipfile, zlib
print(zipfile.__file__)
print(getattr(zlib, "__file__", zipfile.__file__))')
    # The Windows headers and import libraries the program is built against.
    local -a libraries packages
    drivers+=("$("$cxx" -print-file-name=libuser32.a)"
        "$("$cxx" -x c++ -M -MT headers - <<<'#include <windows.h>' | grep -o '[^ ]*/windows\.h')")
    mapfile -t libraries < <(libraries_of "${translators[@]}")
    mapfile -t packages < <(packages_of "${translators[@]}" "${drivers[@]}" "${libraries[@]}" | sort -u)
    # shellcheck disable=SC2016
    local format='  ${binary:Package} ${Version}\n'
    {
        printf 'Ferrolyn Tessary release: %s\n' "$name"
        printf 'Commit: %s\n' "$commit"
        printf 'Archive entries dated: %s (SOURCE_DATE_EPOCH=%s)\n' \
            "$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S UTC')" "$epoch"
        printf 'Made in: Debian 13, as in the container image %s\n' "$IMAGE"
        printf 'Build: cmake -DTESSARY_BUILD_TESTS=OFF -DTESSARY_BUILD_BENCH=OFF (MinSizeRel), target release\n'
        printf '\nPackages, from Debian 13 (Debian'"'"'s snapshot archive keeps every version):\n'
        dpkg-query -W -f="$format" "${packages[@]}" | sort
    } >"$file"
}

# The commit of the work tree, marked when files differ from it.
tree_commit() {
    local commit
    commit=$(git -c safe.directory="$REPO" rev-parse HEAD) || die "no git commit to make the release of"
    git -c safe.directory="$REPO" diff --quiet HEAD -- ||
        commit="$commit, with changes not committed"
    printf '%s\n' "$commit"
}

# sum_of NAME: the SHA-256 of the file that a sums file names, from release/,
# or from inside the archive for the program; empty when there is none.
sum_of() {
    local name=$1 zip=$OUT/${1%%/*}.zip
    if [[ -f $OUT/$name ]]; then
        sha256sum "$OUT/$name" | cut -d' ' -f1
    elif [[ $name == */* && -f $zip ]]; then
        python3 -c 'import hashlib, sys, zipfile
try:
    print(hashlib.sha256(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2])).hexdigest())
except KeyError:
    pass' "$zip" "$name"
    fi
}

# compare SUMS: every file the published sums name against release/.
compare() {
    local expected name actual differing=0 count=0
    while read -r expected name; do
        [[ -z $expected ]] && continue
        [[ $expected =~ ^[0-9a-f]{64}$ && -n $name ]] ||
            { printf 'error: not a line of a sums file: %s %s\n' "$expected" "$name" >&2; exit 2; }
        name=${name#\*}
        count=$((count + 1))
        actual=$(sum_of "$name")
        if [[ $actual == "$expected" ]]; then
            printf 'same: %s\n' "$name"
        else
            if [[ -n $actual ]]; then
                printf 'DIFFERS: %s (rebuilt: %s)\n' "$name" "$actual"
            else
                printf 'DIFFERS: %s (not in the rebuilt release)\n' "$name"
            fi
            differing=$((differing + 1))
        fi
    done <<<"$1"
    ((count > 0)) || { printf 'error: the sums file names no file\n' >&2; exit 2; }
    if ((differing)); then
        say "$differing of $count files differ from the published ones"
        exit 1
    fi
    say "same: all $count files are the same bytes as the published ones"
}

here() {
    local system
    # shellcheck source=/dev/null
    system=$(. /etc/os-release 2>/dev/null && printf '%s %s' "${ID:-}" "${VERSION_ID:-}")
    [[ $system == "debian 13" ]] ||
        die "release.sh --here runs on Debian 13 only, not on '$system': run bash scripts/release.sh"
    bash scripts/setup.sh --release
    local commit epoch version name
    commit=${TESSARY_RELEASE_COMMIT:-$(tree_commit)}
    epoch=${TESSARY_RELEASE_EPOCH:-$(git -c safe.directory="$REPO" log -1 --format=%ct)}
    version=$(sed -n 's/^project(Tessary VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
    [[ -n $version ]] || die "no version in CMakeLists.txt"
    name=tessary-$version-win32
    # A new build folder each time: nothing of an earlier build is reused.
    build=$(mktemp -d "${TMPDIR:-/tmp}/tessary-release.XXXXXX")
    trap 'rm -rf "${build:?}"' EXIT
    say "building the program ($build)"
    cmake -S "$REPO" -B "$build" -DTESSARY_BUILD_TESTS=OFF -DTESSARY_BUILD_BENCH=OFF \
        -DTESSARY_BUILDINFO="$build/$name.buildinfo" >/dev/null || die "cmake configure failed"
    cmake --build "$build" -j2 --target tessary >/dev/null || die "the build failed"
    write_buildinfo "$build" "$name" "$commit" "$epoch" "$build/$name.buildinfo"
    say "making the archive (cmake --build --target release)"
    SOURCE_DATE_EPOCH=$epoch cmake --build "$build" --target release >/dev/null ||
        die "the release target failed"
    rm -rf "$OUT"
    mkdir -p "$OUT"
    cp "$build/release/$name.zip" "$build/release/$name.sha256" "$build/release/$name.buildinfo" "$OUT/"
    say "made release/: $name.zip, $name.buildinfo and $name.sha256"
    (cd "$OUT" && cat "$name.sha256")
    if [[ ${1:-} == --compare ]]; then
        compare "$(base64 -d <<<"${TESSARY_RELEASE_SUMS:-}")"
    fi
}

# in_debian_root [--compare]: the same steps in the project's Debian 13 root.
in_debian_root() {
    [[ $(id -u) -eq 0 ]] || die "the Debian 13 root needs root: run 'sudo bash scripts/release.sh'"
    command -v git >/dev/null || die "git is missing: the release is made of a git commit"
    TESSARY_RELEASE_COMMIT=$(tree_commit)
    TESSARY_RELEASE_EPOCH=$(git log -1 --format=%ct)
    export TESSARY_RELEASE_COMMIT TESSARY_RELEASE_EPOCH
    exec bash scripts/debian-root.sh 13 scripts/release.sh --here "$@"
}

case ${1:-} in
    "") in_debian_root ;;
    --here) here "${2:-}" ;;
    --compare)
        [[ -f ${2:-} ]] || die "usage: bash scripts/release.sh --compare PATH/tessary-<version>-win32.sha256"
        # In base64: the root takes only one-line settings with it.
        TESSARY_RELEASE_SUMS=$(base64 -w0 "$2")
        export TESSARY_RELEASE_SUMS
        in_debian_root --compare
        ;;
    *) die "usage: bash scripts/release.sh [--compare PATH/tessary-<version>-win32.sha256]" ;;
esac
