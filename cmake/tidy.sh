#!/usr/bin/env bash
# clang-tidy with the checks of .clang-tidy over the repository's own sources,
# as each platform's build compiles them, and appends "NAME PASSED FAILED"
# (files without findings, files with findings) to a summary file.
#   tidy.sh SUMMARY NAME
# Natively: every source of build/native (src/, tests/, tools/, bench/,
# fuzz/; the sanitized build compiles the same ones with the same headers).
# For Windows, x86_64 (build/win64) and i686 (build/win32): the sources only
# the Windows builds compile; the portable ones are the same code, checked
# natively. Left out everywhere: GoogleTest's own sources
# (/usr/src/googletest, compiled into the Windows builds) and generated files
# (the resource script under build/).
# TIDY_ONLY=REGEX checks only the sources it matches (a pass left without any
# is skipped), for a quick look at what one is changing.
set -uo pipefail
cd "$(dirname "$0")/.."
summary=$1 name=$2
root=$(pwd)
jobs=${TIDY_JOBS:-$(nproc)}
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# The sources of a compile database, one absolute path a line: own sources
# only, and with a second database given, only those the second lacks.
sources() {
  python3 - "$root" "$@" <<'PY'
import json, os, sys
root, database = sys.argv[1], sys.argv[2]
def files(path):
    with open(path) as f:
        return {os.path.join(e["directory"], e["file"]) for e in json.load(f)}
own = {f for f in files(database)
       if f.startswith(root + "/") and f.endswith(".cpp")
       and f[len(root) + 1:].split("/")[0] in ("src", "tests", "tools", "bench", "fuzz")}
if len(sys.argv) > 3:
    own -= files(sys.argv[3])
only = os.environ.get("TIDY_ONLY")
if only:
    import re
    own = {f for f in own if re.search(only, f)}
for f in sorted(own):
    print(f)
PY
}

# clang reads the mingw g++ commands as a mingw g++ would compile them: the
# target, mingw's headers as the only system headers (not Linux's /usr/include),
# and libstdc++'s headers of the posix thread model, as g++ -v lists them.
# GCC's own include directories (its builtins and intrinsics) stay clang's.
mingw_args() {
  local triple=$1
  echo "-extra-arg=--target=$triple"
  echo "-extra-arg=--sysroot=/usr/$triple"
  "$triple-g++-posix" -E -x c++ - -v </dev/null 2>&1 |
    sed -n '/#include <...> search starts here:/,/End of search list./p' |
    grep '/include/c++' | sed 's/^ *//; s/^/-extra-arg=-isystem/'
}

# run LABEL BUILD_DIR [CLANG-TIDY OPTIONS...] < FILES
run() {
  local label=$1 dir=$2
  shift 2
  local list
  mapfile -t list
  if [ -n "${TIDY_ONLY:-}" ] && [ ${#list[@]} -eq 0 ]; then return; fi
  if [ ! -f "$dir/compile_commands.json" ] || [ ${#list[@]} -eq 0 ]; then
    echo "clang-tidy $label: no sources in $dir/compile_commands.json" | tee -a "$log"
    echo "error: nothing checked" >>"$log"
    return
  fi
  echo "clang-tidy $label: ${#list[@]} files"
  # Counted through the log: this runs at the end of a pipe, in a subshell.
  echo "checked ${#list[@]}" >>"$log"
  local patterns=()
  for file in "${list[@]}"; do patterns+=("^${file//./\\.}\$"); done
  run-clang-tidy -j "$jobs" -quiet -p "$dir" "$@" "${patterns[@]}" 2>&1 |
    sed 's/\x1b\[[0-9;]*m//g' | grep -v '^clang-tidy-[0-9]* ' | grep -v '^[0-9]* warnings\? generated\.$' |
    grep -v '^Suppressed [0-9]* warnings' | grep -v '^Use -header-filter' | tee -a "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || echo "error: clang-tidy $label failed" >>"$log"
}

sources build/native/compile_commands.json | run native build/native
mapfile -t win64 < <(mingw_args x86_64-w64-mingw32)
sources build/win64/compile_commands.json build/native/compile_commands.json |
  run win64 build/win64 "${win64[@]}"
mapfile -t win32 < <(mingw_args i686-w64-mingw32)
sources build/win32/compile_commands.json build/native/compile_commands.json |
  run win32 build/win32 "${win32[@]}"

# A file with a finding counts once, however many translation units show it.
failed=$(grep -E '^/[^:]+:[0-9]+:[0-9]+: error: ' "$log" | cut -d: -f1 | sort -u | wc -l)
if [ "$failed" -eq 0 ] && grep -q '^error: ' "$log"; then failed=1; fi
checked=$(awk '$1 == "checked" { n += $2 } END { print n + 0 }' "$log")
passed=$((checked - failed))
[ "$passed" -ge 0 ] || passed=0
echo "$name $passed $failed" >>"$summary"
