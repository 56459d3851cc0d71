#!/usr/bin/env bash
# The reproducible suite: the package is the same bytes wherever and whenever
# it is made, so that anyone can check a download against its commit.
#   reproducible-test.sh SUMMARY_FILE [SUITE]
#   1. each release exe (presets dist-win64, dist-win32, as make dist builds
#      them) built in this tree and in a copy of it at another path, with
#      another build folder: the two compared byte for byte (a time stamp, a
#      build path or a build id in either would differ);
#   2. the zip packed twice (cmake/dist-pack.py) from the same files written
#      in another order with other times and permissions: the same bytes; and
#      its SHA256SUMS checks the unpacked files with sha256sum -c.
# Both trees keep their build folders between runs, so a second run builds
# only what changed, in both. Appends "SUITE PASSED FAILED" to the summary.
set -u
cd "$(dirname "$0")/.."
root=$PWD summary=$1 suite=${2:-reproducible}
work=$root/build/reproducible
elsewhere=$work/another/folder/tree
passed=0 failed=0

check() {  # check WHAT COMMAND...
  if "${@:2}"; then
    echo "[       OK ] $1"
    passed=$((passed + 1))
  else
    echo "[  FAILED  ] $1"
    failed=$((failed + 1))
  fi
}

built() {  # built TREE PRESET LOG: the preset's exe built in TREE
  (cd "$1" && cmake --preset "$2" && cmake --build --preset "$2" --target dopliki32) >"$3" 2>&1 ||
    { tail -n 30 "$3"; return 1; }
}

same_exe() {  # same_exe PRESET
  built "$root" "$1" "$work/$1-here.log" && built "$elsewhere" "$1" "$work/$1-elsewhere.log" &&
    cmp "$root/build/$1/dopliki32.exe" "$elsewhere/build/$1/dopliki32.exe"
}

# The copy: this tree's files (the working tree, as the builds here see it),
# with their times, so that the copy's build folder stays valid between runs.
mkdir -p "$elsewhere"
find "$elsewhere" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} +
tar -C "$root" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -x -C "$elsewhere"

echo "== $suite: the release exes from two folders =="
for preset in dist-win64 dist-win32; do
  check "$preset: dopliki32.exe the same from $root and $elsewhere" same_exe "$preset"
done

# Two stagings of the same files, the second written in the other order,
# with other times and permissions.
staged() {  # staged DIR STAMP MODE FILE...
  local dir=$1 stamp=$2 mode=$3 name
  shift 3
  rm -rf "$dir"
  mkdir -p "$dir/64-bit" "$dir/32-bit"
  for name in "$@"; do
    case $name in
      64-bit/*) cp "$root/build/dist-win64/dopliki32.exe" "$dir/$name" ;;
      32-bit/*) cp "$root/build/dist-win32/dopliki32.exe" "$dir/$name" ;;
      *) echo "<!DOCTYPE html><p>dopliki32</p>" >"$dir/$name" ;;
    esac
    touch -d "$stamp" "$dir/$name"
    chmod "$mode" "$dir/$name"
  done
}
same_zip() {
  local epoch=1700000000
  staged "$work/a" "2001-02-03 04:05:06" 644 64-bit/dopliki32.exe 32-bit/dopliki32.exe INSTRUKCJA.html &&
    staged "$work/b" "2030-12-31 23:59:58" 755 INSTRUKCJA.html 32-bit/dopliki32.exe 64-bit/dopliki32.exe &&
    python3 cmake/dist-pack.py "$work/a" "$work/a.zip" "$epoch" &&
    sleep 2 &&
    python3 cmake/dist-pack.py "$work/b" "$work/b.zip" "$epoch" &&
    cmp "$work/a.zip" "$work/b.zip"
}
sums_check() {
  rm -rf "$work/unpacked"
  python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' \
    "$work/b.zip" "$work/unpacked" &&
    (cd "$work/unpacked" && sha256sum --strict -c SHA256SUMS) &&
    [ "$(wc -l <"$work/unpacked/SHA256SUMS")" -eq 3 ]
}
echo "== $suite: the zip =="
if [ -f "$root/build/dist-win64/dopliki32.exe" ] && [ -f "$root/build/dist-win32/dopliki32.exe" ]; then
  check "the zip the same from files of other times, permissions and order" same_zip
  check "SHA256SUMS in the zip checks its three files" sums_check
else
  check "the zip: the release exes to pack were not built" false
fi

echo "$suite $passed $failed" >>"$summary"
[ "$failed" -eq 0 ]
