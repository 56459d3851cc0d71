#!/usr/bin/env bash
# clang-format --dry-run over every tracked *.cpp and *.h: appends
# "NAME PASSED FAILED" (files it leaves as they are, files it would change) to
# a summary file. `make format` applies what it finds.
#   format-check.sh SUMMARY NAME
set -uo pipefail
cd "$(dirname "$0")/.."
summary=$1 name=$2
mapfile -t files < <(git ls-files '*.cpp' '*.h')
failed=0
if [ ${#files[@]} -gt 0 ]; then
  log=$(mktemp)
  clang-format --dry-run -Werror "${files[@]}" >"$log" 2>&1
  status=$?
  cat "$log"
  failed=$(grep -E '^[^ :]+:[0-9]+:[0-9]+: error: ' "$log" | cut -d: -f1 | sort -u | wc -l)
  rm -f "$log"
  # clang-format failing without naming a file (missing, a bad style file).
  if [ "$status" -ne 0 ] && [ "$failed" -eq 0 ]; then failed=1; fi
fi
echo "$name $((${#files[@]} - failed)) $failed" >>"$summary"
