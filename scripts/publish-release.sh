#!/usr/bin/env bash
# Publishes the release that scripts/release.sh made as the GitHub release of
# its tag, with GitHub's gh (the release workflow gives it GH_TOKEN and
# GH_REPO):
#   bash scripts/publish-release.sh v<version> DIR
# DIR holds tessary-<version>-win32.zip, .buildinfo and .sha256, and <version>
# is the project's. Files go only into a draft, and a draft is published only
# when, read back, it holds exactly these three files with the same bytes. A
# published release is final, as under GitHub's immutable releases, where it
# can never gain a file: it is only checked.
#   no release   a draft is made (its tag must be on GitHub), then as below
#   a draft      its broken-off uploads are deleted, the files it lacks
#                uploaded, and it is read back and published; a file that is
#                not one of the three, or one with other bytes, fails the run
#                and is left for a maintainer
#   published    the three files with the same bytes: success; anything else
#                fails the run, naming each file
# Every failure exits with status 1 and leaves nothing published that was not.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# shellcheck source=scripts/common.sh
source scripts/common.sh

(($# == 2)) || die "usage: bash scripts/publish-release.sh v<version> DIR"
tag=$1 dir=${2%/}
version=$(project_version)
name=tessary-$version-win32
files=("$name.zip" "$name.buildinfo" "$name.sha256")
[[ $tag == "v$version" ]] ||
    die "tag $tag does not name the project's version: the release is $name, for tag v$version; nothing was changed"
for file in "${files[@]}"; do
    [[ -f $dir/$file ]] || die "$dir holds no $file (a release is ${files[*]}): nothing was changed"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tessary-publish.XXXXXX")
trap 'rm -rf "${work:?}"' EXIT

# give_up LINE...: the run's end, with what a maintainer can do.
give_up() {
    printf 'error: %s\n' "$1" >&2
    shift
    printf '  %s\n' "$@" >&2
    exit 1
}

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
$(cat "$dir/$name.sha256")
$fence

Made with (from $name.buildinfo):

$fence
$(grep -E '^(Commit|Made in|Packages from|Build):|^  (g\+\+|gcc|binutils|mingw-w64|cmake|python)' "$dir/$name.buildinfo")
$fence
EOF
}

# survey: reads the release of the tag back from GitHub: sets draft (true or
# false) and lists what keeps it from being the release in DIR: the files it
# lacks, holds broken off (an upload that never completed: listed, never
# downloadable), cannot download, holds with other bytes, or holds but are not
# the release's. Fails as gh release view does, its error in $work/error.
survey() {
    local listing assets="" held=" " state file
    listing=$(gh release view "$tag" --json isDraft,assets \
        --jq '.isDraft, (.assets[] | "\(.state) \(.name)")' 2>"$work/error") || return 1
    lacking=() broken=() unreadable=() differing=() foreign=()
    draft=${listing%%$'\n'*}
    [[ $listing != *$'\n'* ]] || assets=${listing#*$'\n'}
    while read -r state file; do
        [[ -n $file ]] || continue
        held+="$file "
        if [[ " ${files[*]} " != *" $file "* ]]; then
            foreign+=("$file")
        elif [[ $state != uploaded ]]; then
            broken+=("$file")
        elif ! gh release download "$tag" --dir "$work/read" --pattern "$file" 2>"$work/error" </dev/null; then
            unreadable+=("$file, which could not be downloaded: $(cat "$work/error")")
        elif ! cmp -s "$dir/$file" "$work/read/$file"; then
            differing+=("$file")
        fi
        rm -rf "$work/read"
    done <<<"$assets"
    for file in "${files[@]}"; do
        [[ $held == *" $file "* ]] || lacking+=("$file")
    done
    problems=$((${#lacking[@]} + ${#broken[@]} + ${#unreadable[@]} + ${#differing[@]} + ${#foreign[@]}))
}

# report RELEASE: a line for each problem that survey found.
report() {
    local file
    for file in "${lacking[@]}"; do printf 'error: %s lacks %s\n' "$1" "$file"; done
    for file in "${broken[@]}"; do
        printf 'error: %s holds %s as a broken-off upload, which cannot be downloaded\n' "$1" "$file"
    done
    for file in "${unreadable[@]}"; do printf 'error: %s holds %s\n' "$1" "$file"; done
    for file in "${differing[@]}"; do printf 'error: %s holds another %s than %s\n' "$1" "$file" "$dir"; done
    for file in "${foreign[@]}"; do printf "error: %s holds %s, which is not one of the release's files\n" "$1" "$file"; done
} >&2

# draft_left RELEASE: the run's end for a draft that it will not publish.
draft_left() {
    report "$1"
    give_up "the draft of $tag was not published." \
        "A file of another name or other bytes is for a maintainer to look at: delete what is not to be" \
        "published (gh release delete-asset $tag FILE, or the whole draft: gh release delete $tag), then run" \
        "this again; a download that failed may pass when run again."
}

if ! survey; then
    grep -q 'release not found' "$work/error" || die "gh release view $tag failed: $(cat "$work/error")"
    say "no release of $tag: making it as a draft, published once it holds the files"
    release_notes >"$work/notes.md"
    gh release create "$tag" --draft --verify-tag --title "Ferrolyn Tessary $version" \
        --notes-file "$work/notes.md" >/dev/null ||
        give_up "no draft of $tag could be made (gh's error above): nothing was published." \
            "If GitHub lacks the tag, push it (git push origin $tag) and run this again."
    survey || die "gh release view $tag failed: $(cat "$work/error")"
fi

if [[ $draft == false ]]; then
    if ((problems == 0)); then
        say "$tag is published with ${files[*]}, the same bytes: nothing to do"
        exit 0
    fi
    report "the published release of $tag"
    give_up "a published release is final: nothing was changed." \
        "To publish these files, raise the version in CMakeLists.txt and push the new version's tag: under" \
        "GitHub's immutable releases a published release never gains, loses or changes a file, and its tag" \
        "never names another release. Where releases are not immutable, a maintainer may instead mend this" \
        "one by hand (gh release upload, gh release delete-asset) and run this again to check it; a download" \
        "that failed may pass when run again."
fi

((${#unreadable[@]} + ${#differing[@]} + ${#foreign[@]} == 0)) || draft_left "the draft of $tag"
# Repaired rather than left: it holds no bytes, GitHub's documentation says it
# can be safely deleted, and a draft is not public.
for file in "${broken[@]}"; do
    say "deleting $file from the draft: an earlier upload of it broke off"
    gh release delete-asset "$tag" "$file" --yes ||
        die "deleting $file from the draft of $tag failed (gh's error above): it was not published; run this again"
done
missing=("${lacking[@]}" "${broken[@]}")
if ((${#missing[@]})); then
    say "uploading ${missing[*]} into the draft"
    gh release upload "$tag" "${missing[@]/#/$dir/}" ||
        give_up "uploading into the draft of $tag failed (gh's error above): it was not published." \
            "It keeps what arrived; run this again to complete it."
    survey || die "gh release view $tag failed: $(cat "$work/error")"
    ((problems == 0)) || draft_left "the draft of $tag, read back,"
fi
say "publishing the draft of $tag"
gh release edit "$tag" --draft=false >/dev/null ||
    die "publishing the draft of $tag failed (gh's error above); run this again"
say "$tag is published with ${files[*]}"
