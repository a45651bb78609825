#!/usr/bin/env bash
# Publishes the release that scripts/release.sh made as the GitHub release of
# its tag, with GitHub's gh (the release workflow gives it GH_TOKEN and
# GH_REPO), and never replaces or deletes a file that a release holds:
#   bash scripts/publish-release.sh v<version> DIR
# DIR holds tessary-<version>-win32.zip, .buildinfo and .sha256, and <version>
# must be the project's. Whatever an earlier
# run or a maintainer left, the run ends with the tag's release published with
# the three files, or fails having changed nothing:
#   no release                      made as a draft, given the files, published
#   a release, published or draft,  given the files it lacks, and published
#   holding none or some of them
#   a file of the same name with    the run fails naming it, nothing changed
#   other bytes
# A draft that an earlier run left is completed, not replaced: only a run of
# the same tag makes one, from the same commit, and its files must be the same
# bytes; other bytes are a finding for a maintainer, as in a published release.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# shellcheck source=scripts/common.sh
source scripts/common.sh

(($# == 2)) || die "usage: bash scripts/publish-release.sh v<version> DIR"
tag=$1
version=$(project_version)
name=tessary-$version-win32
[[ $tag == "v$version" ]] ||
    die "tag $tag does not name the project's version: the release is $name, for tag v$version"
files=("$name.zip" "$name.buildinfo" "$name.sha256")

work=$(mktemp -d "${TMPDIR:-/tmp}/tessary-publish.XXXXXX")
trap 'rm -rf "${work:?}"' EXIT
# The Windows jobs checked these files against their sums before this job.
cp "${files[@]/#/$2/}" "$work/" || die "$2 does not hold ${files[*]}"

# The notes of a new release: how to check the download, and what made it.
release_notes() {
    local fence='```'
    cat <<EOF
Unpack $name.zip and start tessary.exe. Check the download first:
$name.sha256 holds the SHA-256 sums of the archive, the program in it
and $name.buildinfo; with the three files in one folder,
bash scripts/release.sh --compare $name.sha256 rebuilds the release from the
tag and compares it, the package versions of the buildinfo first.

$fence
$(cat "$work/$name.sha256")
$fence

Made with (from $name.buildinfo):

$fence
$(grep -E '^(Commit|Made in|Packages from|Build):|^  (g\+\+|gcc|binutils|mingw-w64|cmake|python)' "$work/$name.buildinfo")
$fence
EOF
}

if ! state=$(gh release view "$tag" --json isDraft,assets --jq '.isDraft, .assets[].name' 2>"$work/error"); then
    grep -q 'release not found' "$work/error" || die "gh release view $tag failed: $(cat "$work/error")"
    say "no release of $tag: making it as a draft, published once it holds the files"
    release_notes >"$work/notes.md"
    gh release create "$tag" --draft --verify-tag --title "Ferrolyn Tessary $version" \
        --notes-file "$work/notes.md"
    state=true
fi
{
    read -r draft
    mapfile -t held
} <<<"$state"
advice=""
[[ $draft == false ]] ||
    advice="; it is a draft that an earlier run left: look at it, delete it by hand if it is to go, and run again"

# Every file the release holds is compared before anything is added.
missing=()
mkdir "$work/published"
for file in "${files[@]}"; do
    if ! printf '%s\n' "${held[@]}" | grep -qxF "$file"; then
        missing+=("$work/$file")
        continue
    fi
    gh release download "$tag" --dir "$work/published" --pattern "$file"
    cmp -s "$work/$file" "$work/published/$file" ||
        die "the release of $tag holds another $file: nothing was changed$advice"
    say "$file: already in the release, the same bytes"
done
if ((${#missing[@]})); then
    say "adding ${missing[*]##*/}"
    gh release upload "$tag" "${missing[@]}"
fi
if [[ $draft != false ]]; then
    say "publishing the draft of $tag"
    gh release edit "$tag" --draft=false
fi
say "$tag is published with ${files[*]}"
