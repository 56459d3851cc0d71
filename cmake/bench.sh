#!/usr/bin/env bash
# `make bench`: builds the release configurations (native, x86_64 and i686
# Windows), runs the benchmark programs with their fixtures on tmpfs, natively
# and under Wine, and prints one line per figure, "bench: NAME ratio=R" and the
# absolute figures, then "bench: done". Nothing here asserts a time.
set -uo pipefail
cd "$(dirname "$0")/.."

fail() {
  echo "bench: $*" >&2
  exit 1
}

build() {  # build PRESET TARGET...
  local preset=$1
  shift
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" --target "$@" >/dev/null ||
    fail "the $preset build failed"
}
build bench-native files_bench
build bench-win64 files_bench window_bench startup_launcher minimal_window dopliki32
build bench-win32 dopliki32

# Fixtures on tmpfs, open to the user that Wine runs as.
fixtures=$(mktemp -d /dev/shm/dopliki-bench.XXXXXX) || fail "no folder on /dev/shm"
trap 'rm -rf "$fixtures"' EXIT
chmod 777 "$fixtures"
echo "bench: machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"

build/bench-native/bench/files_bench "$fixtures"
cmake/bench-wine.sh build/bench-win64 "$fixtures"

# The exes as shipped, stripped: against 1.5 MB, and the DLLs they import.
limit=$((1500 * 1000))
for arch in x86_64:bench-win64 i686:bench-win32; do
  machine=${arch%%:*} dir=build/${arch#*:}
  stripped=$fixtures/dopliki32-$machine.exe
  "$machine-w64-mingw32-strip" -o "$stripped" "$dir/dopliki32.exe" || fail "strip failed"
  size=$(stat -c %s "$stripped")
  imports=$("$machine-w64-mingw32-objdump" -p "$stripped" | sed -n 's/^\s*DLL Name: //p' |
    tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
  awk -v m="$machine" -v s="$size" -v l="$limit" -v i="$imports" 'BEGIN {
    printf "bench: exe-size-%s ratio=%.3f %d bytes stripped, against %d; imports: %s\n", m, s / l, s, l, i
  }'
done
echo "bench: done"
