#!/usr/bin/env bash
# Makes the release in the project's Debian 13 root (scripts/debian-root.sh,
# made with debootstrap when missing): any Linux machine with root gives the
# same bytes, whatever compilers it has itself, as long as Debian 13 gives it
# the same package versions. Leaves in release/ tessary-<version>-win32.zip
# (the program and its read-me), .buildinfo (the commit, the archive's time
# stamp, where it was made and every package's version) and .sha256 (the
# SHA-256 sums of the archive, of the program in it and of the buildinfo). A
# release that cannot be made, or whose buildinfo would lack something, exits
# with status 1 and leaves no release files.
#   bash scripts/release.sh [--snapshot ID]
#     ID (e.g. 20260918T000000Z): every package of the root taken from Debian's
#     snapshot archive at that time, for good, instead of the live archive
#   bash scripts/release.sh --here [--snapshot ID]
#     the same steps on this machine, which must be Debian 13: what the root
#     and the release workflow's container run
#   bash scripts/release.sh --compare SUMS [--snapshot ID | --rebuilt DIR]
#     makes the release again, or takes the one made earlier into DIR, and
#     checks it against SUMS with sha256sum -c, after naming the packages whose
#     version differs from the buildinfo beside SUMS. Exit status: 0 every file
#     is the same, 1 one differs, 2 SUMS is missing, unreadable or not a sums
#     file, 3 the release could not be made.
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "${BASH_SOURCE[0]}")/.."
REPO=$PWD

# shellcheck source=scripts/common.sh
source scripts/common.sh

OUT=$REPO/release

usage() {
    printf 'usage: bash scripts/release.sh [--snapshot YYYYMMDDTHHMMSSZ]\n' >&2
    printf '       bash scripts/release.sh --compare PATH/tessary-<version>-win32.sha256 [--snapshot YYYYMMDDTHHMMSSZ | --rebuilt DIR]\n' >&2
    exit 2
}

# bad_sums MESSAGE: the comparison's end for a sums file it cannot use.
bad_sums() {
    printf 'error: %s\n' "$*" >&2
    exit 2
}

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
    local program list
    for program in "$@"; do
        [[ $program == /* ]] || program=$(command -v "$program") || die "no $program on PATH"
        list=$(ldd "$program") || die "ldd cannot read $program"
        awk '$2 == "=>" && $3 ~ /^\// { print $3 } $1 ~ /^\// { print $1 }' <<<"$list"
    done
}

# write_buildinfo BUILD NAME COMMIT EPOCH FILE
write_buildinfo() {
    local build=$1 name=$2 commit=$3 epoch=$4 file=$5 cxx program python list dated made i
    local -a lines translators drivers libraries packages
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
    list=$("$python" -c 'import zipfile, zlib
print(zipfile.__file__)
print(getattr(zlib, "__file__", zipfile.__file__))')
    mapfile -t -O "${#drivers[@]}" drivers <<<"$list"
    # The Windows headers and import libraries the program is built against.
    drivers+=("$("$cxx" -print-file-name=libuser32.a)"
        "$("$cxx" -x c++ -M -MT headers - <<<'#include <windows.h>' | grep -o '[^ ]*/windows\.h')")
    list=$(libraries_of "${translators[@]}")
    mapfile -t libraries <<<"$list"
    list=$(packages_of "${translators[@]}" "${drivers[@]}" "${libraries[@]}" | sort -u)
    mapfile -t packages <<<"$list"
    # shellcheck disable=SC2016
    list=$(dpkg-query -W -f='  ${binary:Package} ${Version}\n' "${packages[@]}" | sort)
    dated=$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S UTC')
    made=$(where_made)
    {
        printf 'Ferrolyn Tessary release: %s\n' "$name"
        printf 'Commit: %s\n' "$commit"
        printf 'Archive entries dated: %s (SOURCE_DATE_EPOCH=%s)\n' "$dated" "$epoch"
        printf '%s\n' "$made"
        printf 'Build: cmake -DTESSARY_BUILD_TESTS=OFF -DTESSARY_BUILD_BENCH=OFF (MinSizeRel), target release\n'
        printf '\nPackages of Debian 13:\n%s\n' "$list"
    } >"$file"
}

# where_made: the buildinfo's lines on where the release was made and where its
# packages came from. Neither changes the bytes: the comparison passes over them.
where_made() {
    local snapshot system made
    if [[ -f /.tessary-complete ]]; then
        # The mark that scripts/debian-root.sh leaves in a finished root.
        made=$(date -u -r /.tessary-complete +%Y%m%dT%H%M%SZ)
        printf "Made in: the project's Debian 13 root (scripts/debian-root.sh), made at %s\n" "$made"
    elif [[ -n ${TESSARY_RELEASE_IMAGE:-} ]]; then
        printf 'Made in: the container image %s\n' "$TESSARY_RELEASE_IMAGE"
    else
        # shellcheck source=/dev/null
        system=$(. /etc/os-release && printf '%s' "$PRETTY_NAME")
        printf 'Made in: %s, by release.sh --here\n' "$system"
    fi
    snapshot=$(grep -o -m1 'snapshot\.debian\.org/archive/debian/[0-9]\{8\}T[0-9]\{6\}Z' \
        /etc/apt/sources.list 2>/dev/null || true)
    if [[ -n $snapshot ]]; then
        printf "Packages from: Debian's snapshot archive at %s\n" "${snapshot##*/}"
    else
        printf "Packages from: Debian's live archive\n"
    fi
}

# snapshot_sources ID: apt's sources for Debian's snapshot archive at ID, with
# the suites of the release workflow's container image.
snapshot_sources() {
    local archive=http://snapshot.debian.org/archive suite
    for suite in trixie trixie-updates; do
        printf 'deb [check-valid-until=no] %s/debian/%s/ %s main\n' "$archive" "$1" "$suite"
    done
    printf 'deb [check-valid-until=no] %s/debian-security/%s/ trixie-security main\n' "$archive" "$1"
}

# use_snapshot ID: every package of this system from Debian's snapshot archive
# at ID, downgraded where the live archive gave a later version. It is first
# read with package lists of its own, so that a snapshot out of reach leaves
# the system as it was.
use_snapshot() {
    local id=$1 trial
    trial=$(mktemp -d)
    chmod 755 "$trial"
    mkdir -p "$trial/lists/partial" "$trial/parts"
    snapshot_sources "$id" >"$trial/sources.list"
    say "reading Debian's snapshot archive at $id"
    apt-get update -q --error-on=any -o Dir::Etc::SourceList="$trial/sources.list" \
        -o Dir::Etc::SourceParts="$trial/parts" -o Dir::State::Lists="$trial/lists" \
        -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache= || {
        rm -rf "$trial"
        die "Debian's snapshot archive at $id is out of reach: nothing was changed"
    }
    cp "$trial/sources.list" /etc/apt/sources.list
    rm -rf "$trial" /etc/apt/sources.list.d/debian.sources
    printf 'Package: *\nPin: origin "snapshot.debian.org"\nPin-Priority: 1001\n' \
        >/etc/apt/preferences.d/tessary-snapshot
    apt-get update -q --error-on=any || die "apt-get update failed"
    apt-get full-upgrade -y -q --allow-downgrades -o DPkg::Lock::Timeout=300 ||
        die "taking the packages of the snapshot failed"
}

# The commit of the work tree, marked when files differ from it.
tree_commit() {
    local commit
    commit=$(git -c safe.directory="$REPO" rev-parse HEAD) || die "no git commit to make the release of"
    git -c safe.directory="$REPO" diff --quiet HEAD -- ||
        commit="$commit, with changes not committed"
    printf '%s\n' "$commit"
}

# check_sums SUMS DIR: sha256sum -c --strict of SUMS in DIR, which reads it
# as Windows writes it too (CR line ends, upper-case sums): a line for each
# file, "NAME: OK", "NAME: FAILED" or "NAME: FAILED open or read"; ends with
# status 2 when SUMS is no sums file.
check_sums() {
    local sums line
    [[ -f $1 && -r $1 ]] || bad_sums "no sums file to read at '$1'"
    sums=$(realpath "$1")
    # Its status says that a file failed, which the lines say too.
    (cd "$2" && LC_ALL=C sha256sum -c --strict --warn "$sums" >"$work/checked" 2>"$work/warnings") || true
    line=$(sed -n 's/^sha256sum: .*: *\([0-9]\{1,\}\): improperly formatted .*/\1/p' "$work/warnings" | head -n1)
    [[ -z $line ]] || bad_sums "line $line of $1 is not a SHA-256 sum and a file name: $(sed -n "${line}p" "$1")"
    ! grep -q 'no properly formatted' "$work/warnings" || bad_sums "$1 names no file"
    [[ -s $work/checked ]] || bad_sums "sha256sum cannot read $1: $(cat "$work/warnings")"
    cat "$work/checked"
}

# packages BUILDINFO: "package version" of each package a buildinfo lists.
packages() {
    sed -n 's/^  \([^ ]\{1,\}\) \([^ ]\{1,\}\)$/\1 \2/p' "$1" | LC_ALL=C sort
}

# without_place BUILDINFO: the buildinfo but for its lines on where it was made.
without_place() {
    grep -v '^Made in: \|^Packages from: ' "$1"
}

# snapshot_hint BUILDINFO: how to get back the packages the buildinfo lists.
snapshot_hint() {
    local id
    id=$({ grep '^Packages from: ' "$1"; grep '^Made in: ' "$1"; } |
        grep -o '[0-9]\{8\}T[0-9]\{6\}Z' | head -n1 || true)
    say "the packages differ too: the difference may come from them rather than from the program"
    if [[ -z $id ]]; then
        printf "    Debian's snapshot archive (https://snapshot.debian.org/) keeps every version they list.\n"
        return
    fi
    printf "    Debian's snapshot archive keeps every version; its state at %s, as apt sources:\n" "$id"
    snapshot_sources "$id" | sed 's/^/      /'
    printf '    Where snapshot.debian.org is in reach, the comparison with --snapshot %s added\n' "$id"
    printf '    rebuilds with them.\n'
}

# compare SUMS BUILDINFO DIR: the release in DIR against the published sums,
# after the packages whose version differs from the published BUILDINFO
# (none: no such lines).
compare() {
    local sums=$1 buildinfo=$2 dir=$3 name drift="" file checked result actual differing=0 count=0 products=0
    name=tessary-$(project_version)-win32
    # The files as the sums name them: the program unpacked from the archive.
    mkdir "$work/rebuilt"
    if [[ ! -f $dir/$name.sha256 ]] || ! cp "$dir/$name.zip" "$dir/$name.buildinfo" "$work/rebuilt/" ||
        ! python3 -m zipfile -e "$work/rebuilt/$name.zip" "$work/rebuilt"; then
        printf 'error: %s holds no %s.sha256, .zip and .buildinfo to compare with\n' "$dir" "$name" >&2
        exit 3
    fi
    if [[ -n $buildinfo ]]; then
        drift=$(LC_ALL=C join -a1 -a2 -e '(none)' -o 0,1.2,2.2 <(packages "$buildinfo") \
            <(packages "$dir/$name.buildinfo") |
            awk '$2 != $3 { printf "  %s: %s published, %s here\n", $1, $2, $3 }')
        if [[ -n $drift ]]; then
            say "packages whose version differs from the published buildinfo's:"
            printf '%s\n' "$drift"
        fi
    fi
    checked=$(check_sums "$sums" "$work/rebuilt") || exit
    while IFS= read -r result; do
        file=${result%: *}
        count=$((count + 1))
        if [[ $result == "$file: OK" ]]; then
            printf 'same: %s\n' "$file"
        elif [[ -n $buildinfo && $file == "$name.buildinfo" ]] &&
            cmp -s <(without_place "$buildinfo") <(without_place "$dir/$file"); then
            printf 'same: %s, but for where it was made: %s\n' "$file" "$(grep -m1 '^Made in: ' "$buildinfo")"
        else
            if [[ $result == "$file: FAILED" ]]; then
                actual=$(sha256sum <"$work/rebuilt/$file")
                printf 'DIFFERS: %s (rebuilt: %s)\n' "$file" "${actual%% *}"
            else
                printf 'DIFFERS: %s (not in the rebuilt release)\n' "$file"
            fi
            differing=$((differing + 1))
            [[ $file == "$name.buildinfo" ]] || products=$((products + 1))
        fi
    done <<<"$checked"
    if ((differing == 0)); then
        say "same: all $count files are the same bytes as the published ones"
        return 0
    fi
    say "$differing of $count files differ from the published ones"
    if [[ -n $drift ]] && ((products == 0)); then
        say "only the buildinfo differs, by the package versions above: they made the same program and archive"
    elif [[ -n $drift ]]; then
        snapshot_hint "$buildinfo"
    elif [[ -z $buildinfo ]]; then
        say "with the published buildinfo beside the sums file, the packages are compared too"
    fi
    exit 1
}

# compare_release SUMS DIR SNAPSHOT: checks the published sums file and the
# buildinfo beside it, makes the release again unless DIR holds one, and
# compares.
compare_release() {
    local sums=$1 dir=$2 snapshot=$3 name beside checked buildinfo=""
    name=tessary-$(project_version)-win32
    work=$(mktemp -d "${TMPDIR:-/tmp}/tessary-compare.XXXXXX")
    trap 'rm -rf "${work:?}"' EXIT
    # Copied first: the release made again replaces release/, where it may be.
    mkdir "$work/published"
    beside=$(dirname "$sums")/$name.buildinfo
    if [[ -f $beside ]]; then cp "$beside" "$work/published/"; fi
    checked=$(check_sums "$sums" "$work/published") || exit
    if grep -qxF "$name.buildinfo: OK" <<<"$checked"; then
        buildinfo=$work/published/$name.buildinfo
    elif [[ -f $beside ]] && grep -qxF "$name.buildinfo: FAILED" <<<"$checked"; then
        bad_sums "$beside is not the buildinfo that $sums names"
    fi
    if [[ -z $dir ]]; then
        bash scripts/release.sh ${snapshot:+--snapshot "$snapshot"} || {
            printf 'error: the release could not be made again\n' >&2
            exit 3
        }
        dir=$OUT
    fi
    compare "$sums" "$buildinfo" "$dir"
}

# here SNAPSHOT: the release made on this Debian 13 system.
here() {
    local system
    # shellcheck source=/dev/null
    system=$(. /etc/os-release 2>/dev/null && printf '%s %s' "${ID:-}" "${VERSION_ID:-}")
    [[ $system == "debian 13" ]] ||
        die "release.sh --here runs on Debian 13 only, not on '$system': run bash scripts/release.sh"
    export DEBIAN_FRONTEND=noninteractive
    if [[ -n $1 ]]; then use_snapshot "$1"; fi
    bash scripts/setup.sh --release
    local commit epoch version name
    commit=${TESSARY_RELEASE_COMMIT:-$(tree_commit)}
    epoch=${TESSARY_RELEASE_EPOCH:-$(git -c safe.directory="$REPO" log -1 --format=%ct)}
    version=$(project_version)
    [[ -n $version ]] || die "no version in CMakeLists.txt"
    name=tessary-$version-win32
    # A new build folder each time: nothing of an earlier build is reused.
    build=$(mktemp -d "${TMPDIR:-/tmp}/tessary-release.XXXXXX")
    trap 'rm -rf "${build:?}"' EXIT
    say "building the program ($build)"
    cmake -S "$REPO" -B "$build" -DTESSARY_BUILD_TESTS=OFF -DTESSARY_BUILD_BENCH=OFF \
        -DTESSARY_BUILDINFO="$build/$name.buildinfo" >/dev/null || die "cmake configure failed"
    # The record first: a release that nobody could make again is not built.
    write_buildinfo "$build" "$name" "$commit" "$epoch" "$build/$name.buildinfo"
    cmake --build "$build" -j2 --target tessary >/dev/null || die "the build failed"
    say "making the archive (cmake --build --target release)"
    SOURCE_DATE_EPOCH=$epoch cmake --build "$build" --target release >/dev/null ||
        die "the release target failed"
    rm -rf "$OUT"
    mkdir -p "$OUT"
    cp "$build/release/$name.zip" "$build/release/$name.sha256" "$build/release/$name.buildinfo" "$OUT/" || {
        rm -rf "$OUT"
        die "copying the release into release/ failed"
    }
    say "made release/: $name.zip, $name.buildinfo and $name.sha256"
    (cd "$OUT" && cat "$name.sha256")
}

# in_debian_root [--snapshot ID]: the same steps in the project's Debian 13 root.
in_debian_root() {
    [[ $(id -u) -eq 0 ]] || die "the Debian 13 root needs root: run 'sudo bash scripts/release.sh'"
    command -v git >/dev/null || die "git is missing: the release is made of a git commit"
    TESSARY_RELEASE_COMMIT=$(tree_commit)
    TESSARY_RELEASE_EPOCH=$(git log -1 --format=%ct)
    export TESSARY_RELEASE_COMMIT TESSARY_RELEASE_EPOCH
    exec bash scripts/debian-root.sh 13 scripts/release.sh --here "$@"
}

mode=make sums="" rebuilt="" snapshot=""
while (($#)); do
    case $1 in
        --here) mode=here ;;
        --compare | --rebuilt | --snapshot)
            (($# >= 2)) || usage
            case $1 in
                --compare) mode=compare sums=$2 ;;
                --rebuilt) rebuilt=$2 ;;
                --snapshot) snapshot=$2 ;;
            esac
            shift
            ;;
        *) usage ;;
    esac
    shift
done
[[ -z $snapshot || $snapshot =~ ^[0-9]{8}T[0-9]{6}Z$ ]] || usage
[[ -z $rebuilt || ($mode == compare && -z $snapshot) ]] || usage
case $mode in
    make) in_debian_root ${snapshot:+--snapshot "$snapshot"} ;;
    here) here "$snapshot" ;;
    compare) compare_release "$sums" "$rebuilt" "$snapshot" ;;
esac
