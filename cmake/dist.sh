#!/usr/bin/env bash
# `make dist`: the package an office downloads and checks,
# dist/dopliki32-<version>.zip (version from the file VERSION), holding
#   64-bit/dopliki32.exe   x86_64, release, stripped
#   32-bit/dopliki32.exe   i686, the same
#   INSTRUKCJA.html        the guide, with screenshots of the 64-bit exe
#   SHA256SUMS             the other files' SHA-256, as sha256sum writes them
# made from the checked-out commit alone (exported afresh into build/dist,
# so nothing built before and no file outside the commit goes in) and the
# same bytes wherever and whenever it is made. Ends by printing the commit,
# the package's path, its size in bytes and its SHA-256.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

fail() {
  echo "dist: $*" >&2
  exit 1
}

# A package names a commit, which anyone can build again to the same bytes;
# a package of changes that are in no commit can be made again by nobody.
# So uncommitted changes to tracked files stop it (files git does not track
# are not part of the commit and never go in).
commit=$(git rev-parse --verify -q HEAD) || fail "not a git checkout with a commit"
if ! git diff --quiet HEAD --; then
  git status --short --untracked-files=no >&2
  fail "these tracked files differ from commit ${commit:0:12}; commit or stash them first"
fi
version=$(git show HEAD:VERSION | head -n 1)
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "VERSION holds \"$version\", not MAJOR.MINOR.PATCH"
# Every entry of the zip is dated with the commit's time.
epoch=$(git log -1 --format=%ct HEAD)
echo "dist: dopliki32 $version from commit $commit"

work=$root/build/dist
tree=$work/tree package=$work/package
rm -rf "$work"
mkdir -p "$tree" "$package/64-bit" "$package/32-bit" dist
git archive --format=tar HEAD | tar -x -C "$tree"

for arch in 64:dist-win64 32:dist-win32; do
  preset=${arch#*:}
  echo "dist: building $preset"
  if ! (cd "$tree" && cmake --preset "$preset" && cmake --build --preset "$preset" --target dopliki32) \
    >"$work/$preset.log" 2>&1; then
    tail -n 30 "$work/$preset.log" >&2
    fail "the $preset build failed (log: $work/$preset.log)"
  fi
  cp "$tree/build/$preset/dopliki32.exe" "$package/${arch%%:*}-bit/dopliki32.exe"
done

guide=$package/INSTRUKCJA.html
if [ -f "$tree/cmake/make-guide.sh" ]; then
  echo "dist: screenshots of the 64-bit exe for the guide (the guide's demo of fixed years, 96 DPI)"
  { cmake --preset native && cmake --build --preset native --target dopliki_demo; } >"$work/demo.log" 2>&1 ||
    fail "the demo's build failed (log: $work/demo.log)"
  cmake/guide-shots.sh "$package/64-bit/dopliki32.exe" "$work/shots" >"$work/shots.log" 2>&1 ||
    fail "the screenshots failed (log: $work/shots.log)"
  bash "$tree/cmake/make-guide.sh" "$work/shots" "$version" "$guide" || fail "the guide failed"
else
  fail "cmake/make-guide.sh is not in the tree: no package without its guide"
fi

zip=dist/dopliki32-$version.zip
python3 cmake/dist-pack.py "$package" "$zip" "$epoch" || fail "packing failed"
echo "dist: commit $commit"
echo "dist: $zip"
echo "dist: $(stat -c %s "$zip") bytes"
echo "dist: SHA-256 $(sha256sum "$zip" | cut -d' ' -f1)"
